#pragma once
// The conferencing client keeps a registry export (UTF-16 little-endian, CR LF
// line ends). Its stereo setting is one entry under one section header; the
// audio settings page switches it by rewriting that part of the file.

#include <QString>

class QOVASFBStereoFile {
public:
    // The section that turns stereo on: header, CR LF, the entry with value 1
    // (no line end after it).
    static QString stereoSection();

    // Where the client keeps the file: rtcpal_registry.reg in the user's
    // configuration folder ($XDG_CONFIG_HOME, by default ~/.config).
    static QString defaultPath();

    // The content with stereo switched on or off. Line by line:
    // on  - the header and the stereo entry that follows it (next non-blank
    //       line) become the section; a header without an entry becomes the
    //       section, other entries stay; no header: CR LF and the section are
    //       appended.
    // off - the stereo entry is removed, and the header too when its section
    //       then holds nothing else; no header: the content is unchanged.
    static QString applyStereo(const QString &content, bool enable);

    // Reads, rewrites and atomically writes the file at path. Switching off
    // while no file exists writes nothing; nothing is written when the file
    // exists but cannot be read. Returns true when the file holds the wanted
    // state afterwards.
    static bool setStereoEnable(const QString &path, bool enable);
};
