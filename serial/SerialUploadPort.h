#pragma once
// The serial link as the upload's port: opened without the reader thread, every
// write waits until its bytes are on the line.

#include "base/Texts.h"
#include "upload/UploadPort.h"

class SerialLink;

class SerialUploadPort : public UploadPort {
public:
    // advice ends the message of a port that does not open, where other settings
    // can help: the window program names its dialog, tarvo-cli its options.
    explicit SerialUploadPort(SerialLink& link, const UserText& advice = Texts::kSendingPortAdvice)
        : m_link(link), m_advice(advice) {}

    bool IsOpen() const override;
    bool OpenWithoutReader() override;
    QByteArray OpenFailure() const override;
    // On failure error holds the Czech reason (Windows-1250).
    bool Write(const QByteArray& bytes, QByteArray& error) override;
    void Close() override;

private:
    SerialLink& m_link;
    const UserText& m_advice;
};
