#pragma once
// Where the model gets its code-page translators for the JVX file. The host
// access library lives above the model, so the program binds its own maker
// here at start; without one there are no translators and JVX text of
// version 19 and later goes out and comes in as raw UTF-16LE.

#include <functional>

class ITranslator;

// Makes a translator set to the mode (2 for writing, 3 for reading), or
// returns null when none can be had. The caller owns the translator.
using ServerTranslatorFactory = std::function<ITranslator*(int mode)>;

// Returns the factory it replaces; an empty one means "no translators".
ServerTranslatorFactory SetServerTranslatorFactory(ServerTranslatorFactory factory);

// A new translator from the bound factory, or null.
ITranslator* CreateModelTranslator(int mode);
