// The cursors of the paint tools: small pictures of each tool drawn in code, the cross-hair for
// the line, polygon, rectangle and ellipse tools and the arrow for any other index.
#pragma once

#include <QCursor>

#include <cstdint>

QCursor paintToolCursor(int32_t toolIndex);
