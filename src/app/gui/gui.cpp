// the window layer
