// TFileVariable: what the classic file variables (TextFile, TUntypedFile) have in common.
#pragma once

#include <memory>

#include "qorkit/rtl/system.h"

namespace qorkit {

namespace detail {
class FileVar;
}

/// The common part of a classic file variable: a file name bound by `Assign`, an open state,
/// closing, erasing and renaming. Opening and transfers belong to the derived variables.
///
/// Failures raise `EInOutError` (see its codes); 102 means no name was assigned. Not
/// copyable. The destructor closes an open file, writing pending data; errors there are
/// swallowed, so call `Close` to see them.
class TFileVariable {
  public:
    TFileVariable(const TFileVariable&) = delete;
    TFileVariable& operator=(const TFileVariable&) = delete;

    /// Binds the variable to `FileName` without touching the disk. An open file is closed
    /// first (as by the destructor).
    void Assign(const String& FileName);
    /// The assigned name; empty when not assigned.
    const String& FileName() const noexcept;
    /// Writes pending data and closes. Raises 103 when not open.
    void Close();
    /// True while the file is open.
    bool IsOpen() const noexcept;
    /// Deletes the assigned file from disk; the variable must not be open.
    void Erase();
    /// Renames the assigned file on disk to `NewName` and assigns the variable to it; the
    /// variable must not be open and `NewName` must not exist (5, access denied, otherwise).
    void Rename(const String& NewName);

  protected:
    TFileVariable() noexcept;
    ~TFileVariable();
    /// The assigned file; raises 102 when no name was assigned.
    detail::FileVar& Var() const;

  private:
    std::unique_ptr<detail::FileVar> F;
};

}  // namespace qorkit
