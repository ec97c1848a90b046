// The save dialog as a prompt on a terminal.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "file_dialog_detail.h"
#include "posix_file.h"
#include "qorkit/rtl/file_dialogs.h"
#include "qorkit/rtl/file_paths.h"

namespace qorkit {

namespace {

enum class ReadState { Line, End, Error };

class TerminalBackend final : public TFileDialogBackend {
  public:
    TerminalBackend(int InFd, int OutFd) : FIn(InFd), FOut(OutFd) {}

    TFileDialogAnswer Show(TFileSaveDialog& Dialog, HWND) override {
        TFileDialogAnswer a;
        const String folder = detail::StartFolder(Dialog);
        Put(u"\n" + (Dialog.Title().empty() ? String(u"Save file") : Dialog.Title()) + u"\n");
        Put(u"Folder: " + folder + u"\n");
        const auto& types = Dialog.FileTypes();
        const auto n = static_cast<std::int32_t>(types.size());
        std::int32_t type = detail::PreselectedFileType(Dialog);
        String proposed = ExtractFileName(Dialog.FileName());
        if (n > 0) Put(u"File types:\n");
        for (std::int32_t i = 1; i <= n; ++i) {
            const TFileTypeItem& t = types[static_cast<std::size_t>(i - 1)];
            Put(u"  " + Number(i) + u"  " + t.DisplayName + u" (" + t.FileMask + u")\n");
        }
        String line;
        while (n > 1) {
            Put(u"File type [" + Number(type) + u"]: ");
            const ReadState s = ReadLine(line);
            if (s != ReadState::Line) return Ended(s);
            if (line.empty()) break;
            const std::int32_t k = ParseIndex(line, n);
            if (k == 0) {
                Put(u"Enter a number from 1 to " + Number(n) + u".\n");
                continue;
            }
            if (k != type) {
                Dialog.SetTypedFileName(proposed);
                Dialog.ChangeFileType(k);
                proposed = Dialog.TypedFileName();
                type = k;
            }
            break;
        }
        for (;;) {
            Put(proposed.empty() ? String(u"File name: ") : u"File name [" + proposed + u"]: ");
            const ReadState s = ReadLine(line);
            if (s != ReadState::Line) return Ended(s);
            if (line.empty()) line = proposed;
            if (line.empty()) continue;
            const String full = detail::NameInFolder(folder, line);
            struct stat st {};
            const bool exists = ::stat(detail::NativePath(full).c_str(), &st) == 0;
            if (exists && S_ISDIR(st.st_mode)) {
                Put(u"\"" + full + u"\" is a folder.\n");
                continue;
            }
            if (exists && Dialog.OverwritePrompt()) {
                Put(u"\"" + full + u"\" already exists. Replace it? [y/N]: ");
                const ReadState r = ReadLine(line);
                if (r != ReadState::Line) return Ended(r);
                if (line != u"y" && line != u"Y" && line != u"yes" && line != u"Yes") continue;
            }
            a.Result = mrOk;
            a.FileName = full;
            a.FileTypeIndex = type;
            return a;
        }
    }

  private:
    int FIn;
    int FOut;

    static String Number(std::int32_t v) { return FromUtf8(std::to_string(v)); }

    // 1..n for a number in range, 0 otherwise; blanks around it are allowed.
    static std::int32_t ParseIndex(const String& s, std::int32_t n) {
        std::int64_t v = 0;
        bool digits = false;
        std::size_t i = 0;
        while (i < s.size() && s[i] == u' ')
            ++i;
        for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9' && v <= n; ++i, digits = true)
            v = v * 10 + (s[i] - u'0');
        while (i < s.size() && s[i] == u' ')
            ++i;
        return digits && i == s.size() && v >= 1 && v <= n ? static_cast<std::int32_t>(v) : 0;
    }

    TFileDialogAnswer Ended(ReadState s) {
        TFileDialogAnswer a;
        Put(u"\n");
        if (s == ReadState::Error) {
            a.ErrorCode = cdDialogFailure;
            a.ErrorText = u"the terminal could not be read";
        }
        return a;
    }

    void Put(const String& text) {
        const std::string bytes = ToUtf8(text);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(FOut, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;  // the answer can still be read; the prompt is lost
            done += static_cast<std::size_t>(n);
        }
    }

    // One line without its line end; the end of input before any character ends the dialog.
    ReadState ReadLine(String& line) {
        std::string bytes;
        for (;;) {
            char c = 0;
            const ssize_t n = ::read(FIn, &c, 1);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return ReadState::Error;
            if (n == 0) {
                if (bytes.empty()) return ReadState::End;
                break;
            }
            if (c == '\n') break;
            bytes += c;
        }
        if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
        line = FromUtf8(bytes);
        return ReadState::Line;
    }
};

}  // namespace

std::shared_ptr<TFileDialogBackend> TerminalFileDialogBackend(int InFd, int OutFd) {
    return std::make_shared<TerminalBackend>(InFd, OutFd);
}

}  // namespace qorkit
