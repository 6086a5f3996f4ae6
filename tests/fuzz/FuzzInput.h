#pragma once
// Reads the fuzzer's input from the front: small values that steer a run (modes,
// option words, answers), then the rest as the data. Past the end every value is 0.

#include <QByteArray>

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    quint8 Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    quint16 Word() {
        const quint16 low = Byte();
        return static_cast<quint16>(low | (Byte() << 8));
    }
    // Up to maxLength bytes, the length itself read first.
    QByteArray Text(quint8 maxLength) {
        const size_t wanted = Byte() % (maxLength + 1u);  // read before the rest is measured
        const size_t length = qMin<size_t>(wanted, m_size - m_at);
        const QByteArray text(reinterpret_cast<const char*>(m_data + m_at), static_cast<qsizetype>(length));
        m_at += length;
        return text;
    }
    QByteArray Rest() {
        const QByteArray rest(reinterpret_cast<const char*>(m_data + m_at), static_cast<qsizetype>(m_size - m_at));
        m_at = m_size;
        return rest;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};
