#pragma once
// Walks over nested arrays, dictionaries and stream dictionaries that keep
// their own stack, so that the depth of a structure never becomes the depth
// of the call stack.

#include <memory>
#include <vector>

#include "pdf/pdf_bytes.h"
#include "pdf/pdf_object.h"

namespace pdf_internal {

// True for the objects that own other objects: arrays, dictionaries and
// streams.
bool IsContainer(const TVPdfObject& obj);

// Appends the direct syntax of `root` (an array, a dictionary or a stream)
// and of everything inside it; the bytes are those the recursive definition
// of each object's WriteValue gives.
void WriteTree(const TVPdfObject& root, TPdfBytes& out);

// Called by the destructors of containers: frees the containers that `obj`
// owns, and all they hold, one at a time from a list, so that when `obj`
// itself goes it owns no container and its members free nothing nested.
void FreeNested(TVPdfObject& obj) noexcept;

}  // namespace pdf_internal
