#include "serial/SerialUploadPort.h"

#include "base/Texts.h"
#include "serial/SerialLink.h"

bool SerialUploadPort::IsOpen() const { return m_link.IsOpen(); }

bool SerialUploadPort::OpenWithoutReader() { return m_link.Open(false); }

bool SerialUploadPort::Write(const QByteArray& bytes, QByteArray& error) {
    if (m_link.Write(bytes)) return true;
    error = Text(Texts::kSerialWriteFailed);
    return false;
}

void SerialUploadPort::Close() { m_link.Close(); }
