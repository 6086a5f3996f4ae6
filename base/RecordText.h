#pragma once
// A text of a survey record (a name or a code), Windows-1250 bytes as read. The
// texts of a transfer are short, so a text of up to 13 bytes lives inside the
// record itself, 14 bytes in all; a longer one lives on the heap, shared by every
// copy. Always followed by a NUL. A text is never changed in place: assigning
// gives it a new value.

#include <QByteArray>
#include <QByteArrayView>

#include <atomic>
#include <cstring>

class RecordText {
public:
    static constexpr qsizetype kInlineCapacity = 13;

    RecordText() noexcept { SetInlineSize(0); }
    RecordText(QByteArrayView text);
    RecordText(const QByteArray& text) : RecordText(QByteArrayView(text)) {}
    RecordText(const char* text) : RecordText(QByteArrayView(text)) {}
    RecordText(const RecordText& other) noexcept {
        std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
        if (IsShared()) SharedBlock()->references.fetch_add(1, std::memory_order_relaxed);
    }
    RecordText(RecordText&& other) noexcept {
        std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
        other.SetInlineSize(0);
    }
    RecordText& operator=(const RecordText& other) noexcept { return *this = RecordText(other); }
    RecordText& operator=(RecordText&& other) noexcept {
        if (this != &other) {
            Release();
            std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
            other.SetInlineSize(0);
        }
        return *this;
    }
    ~RecordText() { Release(); }

    const char* constData() const noexcept { return IsShared() ? SharedBlock()->Text() : m_bytes; }
    qsizetype size() const noexcept { return IsShared() ? SharedBlock()->size : kInlineCapacity - Tag(); }
    bool isEmpty() const noexcept { return size() == 0; }
    QByteArrayView View() const noexcept { return QByteArrayView(constData(), size()); }
    operator QByteArrayView() const noexcept { return View(); }
    QByteArray ToByteArray() const { return View().toByteArray(); }

    friend bool operator==(const RecordText& text, QByteArrayView other) noexcept { return text.View() == other; }

private:
    // A long text: its bytes and a NUL follow the block.
    struct Block {
        std::atomic<int> references;
        qsizetype size;
        const char* Text() const noexcept { return reinterpret_cast<const char*>(this + 1); }
    };
    static constexpr unsigned char kShared = 0xFF;

    // The last byte tells the form: kInlineCapacity - size for an inline text, so
    // that it is the NUL of a text that fills the room, or kShared.
    unsigned char Tag() const noexcept { return static_cast<unsigned char>(m_bytes[kInlineCapacity]); }
    bool IsShared() const noexcept { return Tag() == kShared; }
    void SetInlineSize(qsizetype size) noexcept {
        m_bytes[size] = '\0';
        m_bytes[kInlineCapacity] = static_cast<char>(kInlineCapacity - size);
    }
    Block* SharedBlock() const noexcept {
        Block* block;
        std::memcpy(&block, m_bytes, sizeof block);
        return block;
    }
    void Release() noexcept {
        if (IsShared()) ReleaseShared();
    }
    void ReleaseShared() noexcept;

    char m_bytes[kInlineCapacity + 1] = {};
};
