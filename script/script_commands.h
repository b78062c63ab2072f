// What each script code does when it runs: one handler per code, looked up by code. Handlers
// check every index and value a script brings before using it.
#pragma once

#include "script/script_format.h"

class CommandLayer;

// Runs a decoded command; false when it refused its arguments (the message is shown).
using ScriptHandler = bool (*)(CommandLayer &, const ScriptCommand &);

// The handler of a code; null when this program cannot run the code.
ScriptHandler scriptHandler(uint8_t code);
// The script code that starts an operation by its OperationId; 0 for none.
int32_t operationCode(int32_t operationId);
// The script code that runs an UnnumberedCommand; 0 for none.
int32_t commandCode(int32_t command);
// Whether the controller, not the command layer, records the code (pointer events, drag kinds,
// typed drag amounts, step markers and operation titles).
bool recordedByController(uint8_t code);
