// Must not compile: the designer cannot reach the library's runtime plumbing.
#include "TavRuntime.h"
