// The error classes every layer raises. Platform-free: the engine and the
// native sanitizer build include this header too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

// Base of every error the program raises on purpose. The default error report
// shows Message(); what() is a UTF-8 copy for logs and test output.
class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    std::wstring message_;
    std::string narrow_;
};

// Ends a handler quietly: the default error report shows nothing for it.
class EAbort : public Exception {
public:
    EAbort() : Exception(L"Operation aborted") {}
};

class EOutOfMemory : public Exception {
public:
    EOutOfMemory() : Exception(L"Out of memory") {}
};

class ERangeError : public Exception {
public:
    ERangeError() : Exception(L"Range check error") {}
};

// Text that does not convert to a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A registry value that cannot be written, or holds the wrong type.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// A failed operating-system call; the message is the system's own text.
class EOSError : public Exception {
public:
    EOSError(std::wstring message, std::uint32_t code) : Exception(std::move(message)), code_(code) {}
    std::uint32_t ErrorCode() const noexcept { return code_; }

private:
    std::uint32_t code_;
};

class EListError : public Exception {
public:
    using Exception::Exception;
};

// Raises EListError ("List index out of bounds (5)") unless index < count.
void CheckListIndex(std::size_t index, std::size_t count);

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// Replaces the first "%s" (or "%d") of pattern with arg, as the toolkit's
// message templates ("Invalid data type for '%s'") expect.
std::wstring FormatMessageText(std::wstring_view pattern, std::wstring_view arg);
std::wstring FormatMessageText(std::wstring_view pattern, std::int64_t arg);

// The text the default error report shows: the message with a full stop
// appended unless it already ends a sentence, in any script the program
// speaks ("。", "؟", "।", "…" as well as ".", "!", "?").
std::wstring ErrorReportText(const std::wstring& message);

// UTF-16 <-> UTF-8 without platform calls; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
// Nothing when the text is not UTF-8 throughout.
std::optional<std::wstring> FromWholeUtf8(std::string_view text);
