#include "command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "qorkit/rtl/exceptions.h"
#include "qorkit/rtl/file_stream.h"
#include "qorkit/rtl/memory_stream.h"

namespace qorkit::tool {

namespace {

// Function-local statics: registration runs during static initialisation of the tool.
std::vector<Command>& CommandList() {
    static std::vector<Command> list;
    return list;
}
std::vector<TourSection>& TourList() {
    static std::vector<TourSection> list;
    return list;
}

std::string Quote(std::string_view s) {
    return "'" + std::string(s) + "'";
}

// An argument that is an operand although it starts with "-": "-" itself and negative numbers,
// infinity ("-inf", "-infinity") and NaN included, in any case.
bool LooksLikeOperand(std::string_view a) {
    if (a.size() < 2 || a[0] != '-') return true;
    const char c = a[1];
    if ((c >= '0' && c <= '9') || (c == '.' && a.size() > 2 && a[2] >= '0' && a[2] <= '9'))
        return true;
    std::string lower(a.substr(1));
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
    return lower == "inf" || lower == "infinity" || lower == "nan";
}

// An opened file descriptor that the stream closes.
class InputFileStream : public THandleStream {
  public:
    InputFileStream(int fd, const std::string& name) : THandleStream(fd, true, FromUtf8(name)) {}
};

[[noreturn]] void ThrowFileError(const std::string& name, int error) {
    throw Failure(name + ": " + std::strerror(error));
}

}  // namespace

RegisterCommand::RegisterCommand(Command c) {
    CommandList().push_back(c);
}
RegisterTourSection::RegisterTourSection(TourSection s) {
    TourList().push_back(s);
}

std::vector<Command> Commands() {
    auto list = CommandList();
    std::sort(list.begin(), list.end(),
              [](const Command& a, const Command& b) { return a.Name < b.Name; });
    return list;
}

std::vector<TourSection> TourSections() {
    auto list = TourList();
    std::stable_sort(list.begin(), list.end(),
                     [](const TourSection& a, const TourSection& b) { return a.Order < b.Order; });
    return list;
}

// ---------------------------------------------------------------------------------------------
// Options

OptionParser& OptionParser::Add(std::string_view names, bool takesValue,
                                std::function<void(const std::string&, const std::string&)> set) {
    Option o{{}, {}, takesValue, std::move(set)};
    while (!names.empty()) {
        const std::size_t comma = names.find(',');
        const std::string_view name = names.substr(0, comma);
        (name.starts_with("--") ? o.longName : o.shortName) = std::string(name);
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
    }
    FOptions.push_back(std::move(o));
    return *this;
}

OptionParser& OptionParser::Flag(std::string_view names, bool& target) {
    return Add(names, false, [&target](const std::string&, const std::string&) { target = true; });
}

OptionParser& OptionParser::Text(std::string_view names, std::string& target) {
    return Add(names, true, [&target](const std::string&, const std::string& v) { target = v; });
}

OptionParser& OptionParser::Text(std::string_view names, std::optional<std::string>& target) {
    return Add(names, true, [&target](const std::string&, const std::string& v) { target = v; });
}

OptionParser& OptionParser::Int(std::string_view names, std::int32_t& target, std::int64_t min,
                                std::int64_t max) {
    return Add(names, true, [&target, min, max](const std::string& opt, const std::string& v) {
        target = static_cast<std::int32_t>(ParseIntArg(opt, v, min, max));
    });
}

OptionParser& OptionParser::Int(std::string_view names, std::optional<std::int32_t>& target,
                                std::int64_t min, std::int64_t max) {
    return Add(names, true, [&target, min, max](const std::string& opt, const std::string& v) {
        target = static_cast<std::int32_t>(ParseIntArg(opt, v, min, max));
    });
}

OptionParser& OptionParser::Int(std::string_view names, std::int64_t& target, std::int64_t min,
                                std::int64_t max) {
    return Add(names, true, [&target, min, max](const std::string& opt, const std::string& v) {
        target = ParseIntArg(opt, v, min, max);
    });
}

const OptionParser::Option* OptionParser::Find(std::string_view name) const {
    for (const Option& o : FOptions)
        if (name == o.shortName || name == o.longName) return &o;
    return nullptr;
}

std::vector<std::string> OptionParser::Parse(Args args, std::size_t minOperands,
                                             std::size_t maxOperands) const {
    std::vector<std::string> operands;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!options || LooksLikeOperand(a)) {
            operands.push_back(a);
            continue;
        }
        if (a == "--") {
            options = false;
            continue;
        }
        // "--name=value", "--name value", "-xVALUE", "-x value" or grouped flags "-abc".
        std::string name = a;
        std::optional<std::string> value;
        if (a.starts_with("--")) {
            const std::size_t eq = a.find('=');
            if (eq != std::string::npos) {
                name = a.substr(0, eq);
                value = a.substr(eq + 1);
            }
        } else if (a.size() > 2) {
            name = a.substr(0, 2);
            const Option* first = Find(name);
            if (first != nullptr && first->takesValue) {
                value = a.substr(2);
            } else {
                for (std::size_t k = 1; k < a.size(); ++k) {
                    const std::string flag{'-', a[k]};
                    const Option* o = Find(flag);
                    if (o == nullptr) throw UsageFailure("unknown option " + Quote(flag));
                    if (o->takesValue)
                        throw UsageFailure("option " + Quote(flag) + " needs a value");
                    o->set(flag, "");
                }
                continue;
            }
        }
        const Option* o = Find(name);
        if (o == nullptr) throw UsageFailure("unknown option " + Quote(name));
        if (!o->takesValue) {
            if (value) throw UsageFailure("option " + Quote(name) + " takes no value");
            o->set(name, "");
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size())
                throw UsageFailure("option " + Quote(name) + " needs a value");
            value = args[++i];
        }
        o->set(name, *value);
    }
    if (operands.size() < minOperands) throw UsageFailure("missing operand");
    if (operands.size() > maxOperands)
        throw UsageFailure("extra operand " + Quote(operands[maxOperands]));
    return operands;
}

std::int64_t ParseIntArg(std::string_view what, std::string_view text, std::int64_t min,
                         std::int64_t max) {
    std::int64_t v = 0;
    const char* const end = text.data() + text.size();
    const char* const start = !text.empty() && text[0] == '+' ? text.data() + 1 : text.data();
    const auto [p, ec] = std::from_chars(start, end, v);
    const std::string range = " (" + std::to_string(min) + ".." + std::to_string(max) + ")";
    if (ec == std::errc::result_out_of_range && p == end)
        throw UsageFailure(std::string(what) + " " + Quote(text) + " is out of range" + range);
    if (ec != std::errc() || p != end || start == end)
        throw UsageFailure(std::string(what) + " " + Quote(text) + " is not an integer");
    if (v < min || v > max)
        throw UsageFailure(std::string(what) + " " + Quote(text) + " is out of range" + range);
    return v;
}

// ---------------------------------------------------------------------------------------------
// Input

std::unique_ptr<TStream> OpenInput(const std::string& name) {
    if (name == "-") return std::make_unique<THandleStream>(STDIN_FILENO);
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowFileError(name, errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        ThrowFileError(name, EISDIR);
    }
    return std::make_unique<InputFileStream>(fd, name);
}

void ForEachBlock(TStream& in, const std::function<void(std::string_view block)>& sink) {
    std::vector<char> block(1 << 16);
    for (;;) {
        const std::int64_t got = in.Read(block.data(), static_cast<std::int64_t>(block.size()));
        if (got <= 0) break;
        sink(std::string_view(block.data(), static_cast<std::size_t>(got)));
    }
}

void ForEachLine(TStream& in, const std::function<void(std::string_view line)>& line) {
    std::string pending;
    const auto emit = [&line](std::string_view l) {
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        line(l);
    };
    ForEachBlock(in, [&](std::string_view block) {
        for (std::size_t nl = block.find('\n'); nl != std::string_view::npos;
             nl = block.find('\n')) {
            if (pending.empty()) {
                emit(block.substr(0, nl));
            } else {
                pending.append(block.substr(0, nl));
                emit(pending);
                pending.clear();
            }
            block.remove_prefix(nl + 1);
        }
        pending.append(block);
    });
    if (!pending.empty()) emit(pending);
}

std::unique_ptr<TStream> OpenSeekableInput(const std::string& name) {
    std::unique_ptr<TStream> in = OpenInput(name);
    if (name != "-") return in;
    auto memory = std::make_unique<TMemoryStream>();
    ForEachBlock(*in, [&memory](std::string_view b) {
        memory->WriteBuffer(b.data(), static_cast<std::int64_t>(b.size()));
    });
    memory->SetPosition(0);
    return memory;
}

std::string ReadInputBytes(const std::string& name) {
    const std::unique_ptr<TStream> in = OpenInput(name);
    std::string bytes;
    ForEachBlock(*in, [&bytes](std::string_view b) { bytes.append(b); });
    return bytes;
}

int ForEachInput(Args names, const std::function<void(const std::string&, TStream&)>& each,
                 std::ostream& err) {
    static const std::string kStdin[] = {"-"};
    if (names.empty()) names = kStdin;
    int status = 0;
    for (const std::string& name : names) {
        try {
            const std::unique_ptr<TStream> in = OpenInput(name);
            each(name, *in);
        } catch (const Failure& e) {
            status = ReportError(err, e.what());
        } catch (const Exception& e) {
            status = ReportError(err, e.what());
        }
    }
    return status;
}

TemporaryFile::TemporaryFile(std::string_view contents) {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    FName = (dir / "qorkit-XXXXXX").string();
    const int fd = ::mkstemp(FName.data());
    if (fd < 0) ThrowFileError(FName, errno);
    while (!contents.empty()) {
        const ssize_t n = ::write(fd, contents.data(), contents.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(FName.c_str());
            ThrowFileError(FName, error);
        }
        contents.remove_prefix(static_cast<std::size_t>(n));
    }
    ::close(fd);
}

TemporaryFile::~TemporaryFile() {
    ::unlink(FName.c_str());
}

std::string TemporaryFile::Contents() const {
    return ReadInputBytes(FName);
}

String JoinArgs(Args args) {
    std::string joined;
    for (const std::string& a : args) {
        if (!joined.empty()) joined += ' ';
        joined += a;
    }
    return FromUtf8(joined);
}

bool ReadFileBytes(const std::string& name, std::string& bytes) {
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec)) return false;
    std::ifstream in(name, std::ios::binary);
    if (!in.is_open()) return false;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        bytes.append(block, static_cast<std::size_t>(in.gcount()));
    return in.eof() && !in.bad();
}

}  // namespace qorkit::tool
