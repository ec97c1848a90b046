#include "qorkit/rtl/objects.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/sysutils.h"

namespace qorkit {

String TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = (status == 0 && demangled) ? demangled.get() : mangled;
    const auto colons = name.rfind("::");
    if (colons != std::string::npos) name.erase(0, colons + 2);
    return FromUtf8(name);
}

void TPersistent::Assign(const TPersistent* Source) {
    if (Source == nullptr) AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    if (Dest == nullptr) throw EConvertError(u"Cannot assign a " + ClassName() + u" to a nil");
    Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const {
    const String source = Source ? Source->ClassName() : String(u"nil");
    throw EConvertError(u"Cannot assign a " + source + u" to a " + ClassName());
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Owned components are destroyed last-first; each one detaches itself from us while we
    // still hold it, so iterate over a snapshot.
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        FComponents.pop_back();
        child->FOwner = nullptr;
        delete child;
    }
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(std::int32_t Index) const noexcept {
    if (Index < 0 || Index >= ComponentCount()) return nullptr;
    return FComponents[static_cast<std::size_t>(Index)];
}

TComponent* TComponent::FindComponent(const String& AName) const {
    if (AName.empty()) return nullptr;
    const String key = LowerCase(AName);
    for (TComponent* c : FComponents)
        if (LowerCase(c->FName) == key) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->FOwner == this) return;
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (AComponent == nullptr || AComponent->FOwner != this) return;
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent),
                      FComponents.end());
    AComponent->FOwner = nullptr;
}

}  // namespace qorkit
