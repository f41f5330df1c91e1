// The number value and its text helpers live beside this file.
