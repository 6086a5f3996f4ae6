#include "serial/SerialUploadPort.h"

#include "base/Texts.h"
#include "serial/PortError.h"
#include "serial/SerialLink.h"

bool SerialUploadPort::IsOpen() const { return m_link.IsOpen(); }

bool SerialUploadPort::OpenWithoutReader() { return m_link.Open(false); }

QByteArray SerialUploadPort::OpenFailure() const { return PortErrorText(m_link.OpenError(), m_advice); }

bool SerialUploadPort::Write(const QByteArray& bytes, QByteArray& error) {
    if (m_link.Write(bytes)) return true;
    error = Text(Texts::kSerialWriteFailed);
    return false;
}

void SerialUploadPort::Close() { m_link.Close(); }
