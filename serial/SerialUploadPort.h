#pragma once
// The serial link as the upload's port: opened without the reader thread, every
// write waits until its bytes are on the line.

#include "upload/UploadPort.h"

class SerialLink;

class SerialUploadPort : public UploadPort {
public:
    explicit SerialUploadPort(SerialLink& link) : m_link(link) {}

    bool IsOpen() const override;
    bool OpenWithoutReader() override;
    // On failure error holds the Czech reason (Windows-1250).
    bool Write(const QByteArray& bytes, QByteArray& error) override;
    void Close() override;

private:
    SerialLink& m_link;
};
