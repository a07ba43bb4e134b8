// Must compile: what the designer may use, spelled as it spells it.
#include "codegen/GenerateCommands.h"
#include "model/Project.h"
#include "tavctrls/TavCtrls.h"
