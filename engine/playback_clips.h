#pragma once

#include <QMetaType>
#include <QString>

// Two lossless, intra-only clips (Ut Video in Matroska) for showing every frame of a result: the
// reference clip and the encoded clip as decoded. Frame n of one (its n-th packet, counted from 0)
// is the picture the quality measurement paired with frame n of the other. The files stay until
// the engine makes the next pair or ends; a reader that opened them keeps reading them after that.
struct PlaybackClips {
    QString reference;
    QString encoded;

    friend bool operator==(const PlaybackClips &, const PlaybackClips &) = default;
};

Q_DECLARE_METATYPE(PlaybackClips)
