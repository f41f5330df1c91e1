// The address, subnet and supernet models live beside this file.
