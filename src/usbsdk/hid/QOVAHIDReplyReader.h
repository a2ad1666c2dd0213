#pragma once
// Reassembles one reply from its reports. The first report (id 6, 257 bytes)
// gives the head and body lengths; the number, id and size of the further
// reports follow from them, and each further report is applied by its frame
// type (byte 3). No transfers here: the caller reads the reports. The write
// positions of head and body follow the bytes already received, so a report
// that comes after a part has ended adds nothing to it.
//
// Lengths from the device are not trusted: sizes are computed in 64 bits, a
// reply that declares a head above 64 KiB or a body above 256 MiB is refused,
// buffers grow as data arrives, and nothing is stored past a declared length
// or read past a report.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

class QOVAHIDReplyReader {
public:
    static constexpr uint64_t kMaxHeadLength = 64 * 1024;
    static constexpr uint64_t kMaxBodyLength = 256ull * 1024 * 1024;

    enum class State {
        Complete,      // head and body are there
        NeedReports,   // read reportsLeft() more reports of reportId()/reportSize()
        Refused,       // the declared lengths are not acceptable
    };

    // The first reply frame; a shorter buffer reads as zero-filled.
    State begin(const uint8_t *frame, size_t length);
    // One further report; a shorter buffer reads as zero-filled.
    State apply(const uint8_t *report, size_t length);

    uint8_t reportId() const { return m_reportId; }
    size_t reportSize() const { return m_reportSize; }
    uint64_t reportsLeft() const { return m_reportsLeft; }
    uint64_t headLength() const { return m_headLength; }
    uint64_t bodyLength() const { return m_bodyLength; }
    bool isSingleFrame() const { return m_singleFrame; }

    // After Complete: the head's declared bytes, and the body's (empty when
    // the reply declares none).
    QByteArray head() const;
    QByteArray body() const;

private:
    void write(QByteArray &buffer, uint64_t pos, const uint8_t *data, uint64_t n,
               uint64_t declared);

    uint64_t m_headLength = 0;
    uint64_t m_bodyLength = 0;
    uint64_t m_headPos = 0;
    uint64_t m_bodyPos = 0;
    uint64_t m_reportsLeft = 0;
    uint8_t m_reportId = 6;
    size_t m_reportSize = 257;
    bool m_singleFrame = false;
    QByteArray m_head;
    QByteArray m_body;
};
