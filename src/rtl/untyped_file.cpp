#include "qorkit/rtl/untyped_file.h"

#include <fcntl.h>

#include <cerrno>
#include <string>

#include "file_var.h"
#include "qorkit/rtl/exceptions.h"

namespace qorkit {

using detail::BufferedFd;
using detail::FileAccess;
using detail::FileVar;

void TUntypedFile::Reset() {
    Var().Open(O_RDONLY, FileAccess::Input, false, false);
}

void TUntypedFile::Rewrite() {
    Var().Open(O_RDWR | O_CREAT | O_TRUNC, FileAccess::InOut, true, false);
}

void TUntypedFile::BlockRead(void* Buffer, std::int64_t Count, std::int64_t& Actual) {
    FileVar& v = Var();
    BufferedFd& io = v.RequireInput();
    Actual = 0;
    if (Count <= 0) return;
    if (io.Pending() && !io.Flush()) v.FailWrite();
    const std::int64_t r = io.Read(Buffer, Count);
    if (r < 0) v.FailRead();
    Actual = r;
}

void TUntypedFile::BlockRead(void* Buffer, std::int64_t Count) {
    std::int64_t actual = 0;
    BlockRead(Buffer, Count, actual);
    if (actual < Count) {
        Var().Fail(100, u"Read past end of file " + Var().QuotedName() + u": " +
                            FromUtf8(std::to_string(Count)) + u" bytes requested, " +
                            FromUtf8(std::to_string(actual)) + u" available");
    }
}

void TUntypedFile::BlockWrite(const void* Buffer, std::int64_t Count) {
    FileVar& v = Var();
    BufferedFd& io = v.RequireOutput();
    if (Count > 0 && !io.Write(Buffer, Count)) v.FailWrite();
}

std::int64_t TUntypedFile::FileSize() {
    FileVar& v = Var();
    const std::int64_t size = v.RequireOpen().Size();
    if (size < 0) v.FailRead();
    return size;
}

std::int64_t TUntypedFile::FilePos() {
    return Var().RequireOpen().Position();
}

void TUntypedFile::Seek(std::int64_t Pos) {
    FileVar& v = Var();
    BufferedFd& io = v.RequireOpen();
    if (Pos < 0) {
        v.Fail(1000 + EINVAL, u"Cannot seek to position " + FromUtf8(std::to_string(Pos)) +
                                  u" in file " + v.QuotedName());
    }
    if (!io.Seek(Pos)) v.FailWrite();  // the pending bytes could not be written
}

bool TUntypedFile::Eof() {
    return FilePos() >= FileSize();
}

}  // namespace qorkit
