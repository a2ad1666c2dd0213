#pragma once
// Owner of the audio test window: told when the user presses Stop.

class QOVAAudioTestWindowDelegate {
public:
    virtual ~QOVAAudioTestWindowDelegate() = default;
    virtual void stopAudioRecord() = 0;
};
