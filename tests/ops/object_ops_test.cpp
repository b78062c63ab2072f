#include "tests/ops/ops_fixture.h"
