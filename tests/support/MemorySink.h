#pragma once
// A sink that keeps what a writer gives it, for tests that compare bytes.

#include "base/ByteSink.h"

#include <QByteArray>

class MemorySink final : public ByteSink {
public:
    QByteArray bytes;

    void Write(const char* data, std::size_t size) override { bytes.append(data, static_cast<qsizetype>(size)); }
    bool Failed() const override { return false; }
};
