#include "ops/operation_ids.h"

#include "ops/operation_table.h"

const char *operationName(int32_t id) {
  const OperationRow *row = operationRow(id);
  return row ? row->title : nullptr;
}
