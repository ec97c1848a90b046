// The copy-into-another-object step shared by the data structures' `AssignTo`.
#pragma once

#include <typeinfo>

#include "qorkit/rtl/objects.h"

namespace qorkit::detail {

/// Copies `Self` into `Dest` through `Dest->Assign(&Self)` when `Dest` is of the library's class
/// `T` or of `Self`'s own class, and returns true; false otherwise, for the inherited
/// `AssignTo`. C++ cannot ask whether another derived class is an ancestor of `Self`'s class,
/// so other classes derived from `T` are left to the inherited `AssignTo`.
template <class T>
bool AssignToOwnClass(const T& Self, TPersistent* Dest) {
    auto* dest = dynamic_cast<T*>(Dest);
    if (dest == nullptr || (typeid(*dest) != typeid(T) && typeid(*dest) != typeid(Self)))
        return false;
    dest->Assign(&Self);
    return true;
}

}  // namespace qorkit::detail
