// Built only by the layering test, which expects it to fail: a front end that reaches into the
// engine's insides must not build.
#include "engine/internal/tool_runner.h"
