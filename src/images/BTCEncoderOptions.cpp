#include "images/BTCEncoderOptions.h"

#include <algorithm>

void BTCEncoderOptionsJPEG::SetOption(int id, int value) {
    if (id == 0) {
        m_quality = std::clamp(value, 0, 100);
    }
}

void BTCEncoderOptionsTGA::SetOption(int id, int value) {
    if (id == 0) {
        m_runLength = value != 0;
    }
}
