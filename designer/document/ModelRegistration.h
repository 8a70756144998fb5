#pragma once

// Every serialisable class and string of the designer's model, registered
// once by each program that holds documents (the designer, its tests and
// fuzz programs): one list, so none of them misses a kind or a message.
void RegisterModel();
