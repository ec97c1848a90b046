// The object base: TObject, TPersistent (Assign/AssignTo) and TComponent (owner and Name).
#pragma once

#include <functional>
#include <vector>

#include "qorkit/rtl/system.h"

namespace qorkit {

class TObject;

/// The plain notification event: a handler that takes only the sender.
using TNotifyEvent = std::function<void(TObject* Sender)>;

/// Root of the class tree. Polymorphic, with a virtual destructor.
class TObject {
  public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;

    /// The class name without namespace, e.g. u"TStringList"; taken from the dynamic type.
    String ClassName() const;
};

/// An object that can copy its contents from another through `Assign`.
///
/// `Assign(Source)` asks `Source` to copy itself into this object (`Source->AssignTo(this)`).
/// A class that knows how to copy from another class overrides `Assign` and handles it,
/// deferring to the inherited `Assign` otherwise; a class that knows how to copy itself into
/// another overrides `AssignTo`. When no class in either chain handles the pair, the base
/// `AssignTo` raises `EConvertError` "Cannot assign a <source class> to a <dest class>"
/// (a null source reads "nil").
class TPersistent : public TObject {
  public:
    /// Copies the contents of `Source` into this object. Raises `EConvertError` when the
    /// pair of classes is not supported.
    virtual void Assign(const TPersistent* Source);
    /// Copies this object's contents into `Dest`. The base raises `EConvertError`.
    virtual void AssignTo(TPersistent* Dest) const;

  protected:
    /// Raises the conversion error for an unsupported `Assign` from `Source` to this object.
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

/// A persistent object with a `Name` and an optional owner.
///
/// Ownership: a component created with a non-null owner is registered with it and destroyed
/// by the owner's destructor; destroying the component earlier removes it from its owner.
/// A component created without an owner belongs to the caller (stack or `std::unique_ptr`).
/// Components are not copyable; copy their contents through `Assign`.
class TComponent : public TPersistent {
  public:
    /// Creates a component owned by `AOwner` (may be null). With an owner, allocate the
    /// component with `new`; the owner deletes it.
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const String& Name() const noexcept { return FName; }
    void SetName(const String& Value) { FName = Value; }
    /// The owner, or null.
    TComponent* Owner() const noexcept { return FOwner; }
    /// Number of components this one owns.
    std::int32_t ComponentCount() const noexcept {
        return static_cast<std::int32_t>(FComponents.size());
    }
    /// Owned component `Index` (0-based, in insertion order); null when out of range.
    TComponent* Components(std::int32_t Index) const noexcept;
    /// The first owned component whose name equals `AName` ignoring A-Z case; null if none.
    TComponent* FindComponent(const String& AName) const;
    /// Takes ownership of `AComponent`, releasing it from its previous owner.
    void InsertComponent(TComponent* AComponent);
    /// Releases ownership of `AComponent` without destroying it (the caller then owns it).
    void RemoveComponent(TComponent* AComponent);

  private:
    String FName;
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
};

}  // namespace qorkit
