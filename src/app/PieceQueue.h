#pragma once

#include "pixels/BTCImageData.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

// Hands the pieces a worker cuts to the window thread, which takes all that have come at its
// own pace. The worker waits only while the pieces not yet taken hold more than `maxBytes` of
// pixels, so memory stays bounded however far the worker runs ahead.
class PieceQueue {
public:
    explicit PieceQueue(std::size_t maxBytes) : m_maxBytes(maxBytes) {}

    // Worker side. False once the queue is closed: the piece is not taken, and the worker
    // should stop.
    bool Push(BTCImageData piece);
    // Window side: every piece pushed and not yet taken, in order.
    std::vector<BTCImageData> TakeAll();
    // Either side: no more pieces go in; a worker waiting for room wakes up.
    void Close();

private:
    std::mutex m_mutex;
    std::condition_variable m_room;
    std::vector<BTCImageData> m_pieces;
    std::size_t m_bytes = 0;
    std::size_t m_maxBytes;
    bool m_closed = false;
};
