#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

// The one way the core says that something failed, and why. A Status is either Ok or a Fault
// with a message meant for the user; a Result<T> is either a value or such a failure.
//
//   Result<SpriteWad> read = ReadWad(path);
//   if (!read) { Show(read.message()); return; }
//   Use(*read);
//
// The fault tells callers apart what they must treat differently (a file of another kind,
// a cancelled job); the message says it all to the user.
enum class Fault {
    None,
    OpenFailed,  // the file could not be opened or read; the message has the system's reason
    WrongFormat, // not a file of the expected kind or version
    Damaged,     // the file is of the right kind but cannot be sound
    TooLarge,    // it would need more memory than a document may take
    WriteFailed, // the file could not be written; the message has the system's reason
    Refused,     // the document's rules or limits refuse the request; nothing changed
    Cancelled,   // the user stopped it
};

class [[nodiscard]] Status {
public:
    Status() = default;
    static Status Failed(Fault fault, std::string message) {
        assert(fault != Fault::None);
        Status status;
        status.m_fault = fault;
        status.m_message = std::move(message);
        return status;
    }

    bool ok() const { return m_fault == Fault::None; }
    explicit operator bool() const { return ok(); }
    Fault fault() const { return m_fault; }
    // Empty when ok.
    const std::string& message() const { return m_message; }

private:
    Fault m_fault = Fault::None;
    std::string m_message;
};

template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    // A failed status; an ok one is not a result.
    Result(Status failure) : m_status(std::move(failure)) { assert(!m_status.ok()); }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    Fault fault() const { return m_status.fault(); }
    const std::string& message() const { return m_status.message(); }
    const Status& status() const { return m_status; }

    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    Status m_status;
};
