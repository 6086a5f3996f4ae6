#include "base/RecordText.h"

#include <new>

RecordText::RecordText(QByteArrayView text) {
    const qsizetype size = text.size();
    if (size <= kInlineCapacity) {
        if (size > 0) std::memcpy(m_bytes, text.data(), static_cast<std::size_t>(size));
        SetInlineSize(size);
        return;
    }
    Block* block = new (::operator new(sizeof(Block) + static_cast<std::size_t>(size) + 1)) Block{{1}, size};
    char* bytes = reinterpret_cast<char*>(block + 1);
    std::memcpy(bytes, text.data(), static_cast<std::size_t>(size));
    bytes[size] = '\0';
    std::memcpy(m_bytes, &block, sizeof block);
    m_bytes[kInlineCapacity] = static_cast<char>(kShared);
}

void RecordText::ReleaseShared() noexcept {
    Block* block = SharedBlock();
    if (block->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block->~Block();
        ::operator delete(block);
    }
}
