#pragma once

// Encoder settings handed to BTCImageObject::Save. Option id 0 is the only one there is.
class BTCEncoderOptions {
public:
    virtual ~BTCEncoderOptions() = default;
    virtual void SetOption(int id, int value) = 0;
};

class BTCEncoderOptionsJPEG : public BTCEncoderOptions {
public:
    // Option 0: quality 0..100 (clamped).
    void SetOption(int id, int value) override;
    int Quality() const { return m_quality; }

private:
    int m_quality = 75;
};

class BTCEncoderOptionsTGA : public BTCEncoderOptions {
public:
    // Option 0: run-length compression on (non-zero) or off.
    void SetOption(int id, int value) override;
    bool RunLength() const { return m_runLength; }

private:
    bool m_runLength = false;
};
