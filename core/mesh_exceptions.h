// Mesh-level faults. Operations catch them, show what() to the user and restore the state
// saved before the operation.
#pragma once

#include <exception>

struct moTooManyElementsException : std::exception {
  const char *what() const noexcept override { return "too many elements per object"; }
};

// An object holds at most kMaxFaceSlots face slots, inactive ones included.
struct moTooManyFacesException : moTooManyElementsException {
  const char *what() const noexcept override { return "That would exceed the maximum face count."; }
};

struct moTooManyVerticesException : moTooManyElementsException {
  const char *what() const noexcept override { return "too many vertices per object"; }
};

struct moTooManyEdgesException : moTooManyElementsException {
  const char *what() const noexcept override { return "too many edges per object"; }
};

// An edge was asked about a vertex or face it does not hold, or a required index was -1.
struct moInvalidTopologyException : std::exception {
  const char *what() const noexcept override { return "invalid topology"; }
};
