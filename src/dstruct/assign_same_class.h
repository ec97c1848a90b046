// Internal: the AssignTo rule shared by the library's copyable containers.
#pragma once

#include <typeinfo>

#include "qorkit/rtl/objects.h"

namespace qorkit::detail {

/// Copies `Self` into `Dest` through `Dest->Assign` when `Dest` is of exactly the library's
/// class `T` or of `Self`'s own class, and returns true; false for any other destination.
/// C++ cannot ask whether an arbitrary derived class is an ancestor of another, so these two
/// cases stand for "this class or one it descends from".
template <class T>
bool AssignToSameClass(const T& Self, TPersistent* Dest) {
    auto* target = dynamic_cast<T*>(Dest);
    if (target == nullptr || (typeid(*target) != typeid(T) && typeid(*target) != typeid(Self)))
        return false;
    target->Assign(&Self);
    return true;
}

}  // namespace qorkit::detail
