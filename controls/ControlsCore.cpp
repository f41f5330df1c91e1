// Models behind the custom controls live beside this file.
