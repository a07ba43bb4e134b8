// Must not compile: the model knows nothing of the code generator.
#include "codegen/CodeText.h"
