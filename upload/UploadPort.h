#pragma once
// What the upload needs of a serial port, and of the window that shows its
// progress. SerialUploadPort implements the port on the serial link; tests and
// `tarvo-cli upload --dump` record the bytes instead.

#include <QByteArray>

class UploadPort {
public:
    virtual ~UploadPort() = default;
    virtual bool IsOpen() const = 0;
    // Opens the line without the reader thread; false when the settings are refused.
    virtual bool OpenWithoutReader() = 0;
    // After a failed opening: why, and what the user can do (Czech, Windows-1250;
    // lines separated by "\n"). Empty when the port cannot tell.
    virtual QByteArray OpenFailure() const { return {}; }
    // Writes all bytes; false (with a reason in Czech, Windows-1250) when they
    // could not all go out.
    virtual bool Write(const QByteArray& bytes, QByteArray& error) = 0;
    virtual void Close() = 0;
};

class UploadProgress {
public:
    virtual ~UploadProgress() = default;
    virtual void Show(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void Hide() = 0;
};
