// The element kinds, delay arithmetic and chain live beside this file.
