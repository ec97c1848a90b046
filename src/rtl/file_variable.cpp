#include "qorkit/rtl/file_variable.h"

#include "file_var.h"

namespace qorkit {

TFileVariable::TFileVariable() noexcept = default;
TFileVariable::~TFileVariable() = default;

detail::FileVar& TFileVariable::Var() const {
    if (!F) detail::FailNotAssigned();
    return *F;
}

void TFileVariable::Assign(const String& FileName) {
    F = std::make_unique<detail::FileVar>(FileName);
}

const String& TFileVariable::FileName() const noexcept {
    static const String none;
    return F ? F->Name() : none;
}

void TFileVariable::Close() {
    Var().Close();
}

bool TFileVariable::IsOpen() const noexcept {
    return F && F->IsOpen();
}

void TFileVariable::Erase() {
    Var().Erase();
}

void TFileVariable::Rename(const String& NewName) {
    Var().Rename(NewName);
}

}  // namespace qorkit
