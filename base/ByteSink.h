#pragma once
// Where a writer's bytes go: a file (OutputFile) or, in a test, memory. A sink
// remembers its first failure and drops every write after it, so a writer may
// look once, at the end, and still learn that its output is incomplete.

#include <cstddef>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(const char* data, std::size_t size) = 0;
    // True from the first failed write on.
    virtual bool Failed() const = 0;
};
