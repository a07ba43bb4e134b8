// Must not compile: the code generator starts no processes.
#include "buildrun/BuildRunner.h"
