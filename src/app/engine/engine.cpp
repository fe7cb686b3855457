// the engine layer
