#include "app/PieceQueue.h"

#include <utility>

bool PieceQueue::Push(BTCImageData piece) {
    std::unique_lock lock(m_mutex);
    // One piece always fits, so a piece larger than the bound still goes through.
    m_room.wait(lock, [this] { return m_closed || m_bytes == 0 || m_bytes < m_maxBytes; });
    if (m_closed) {
        return false;
    }
    m_bytes += piece.GetImageSize();
    m_pieces.push_back(std::move(piece));
    return true;
}

std::vector<BTCImageData> PieceQueue::TakeAll() {
    std::vector<BTCImageData> taken;
    {
        const std::lock_guard lock(m_mutex);
        taken.swap(m_pieces);
        m_bytes = 0;
    }
    m_room.notify_all();
    return taken;
}

void PieceQueue::Close() {
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_room.notify_all();
}
