// The sound and music files shipped with the program load through the mixer and are of a
// sensible length.

#include "media_players.h"
#include "sounds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <map>

namespace velnora::ui {
namespace {

// The playing time of a standard MIDI file, from its tempo map and its last event; -1 when the
// file is not one. The mixer's own duration query does not cover MIDI in this version.
double midiSeconds(const QByteArray& data) {
    auto u32 = [&](qsizetype at) {
        return quint32(quint8(data[at])) << 24 | quint32(quint8(data[at + 1])) << 16 |
               quint32(quint8(data[at + 2])) << 8 | quint32(quint8(data[at + 3]));
    };
    if (data.size() < 14 || !data.startsWith("MThd") || u32(4) != 6) return -1;
    const int division = quint8(data[12]) << 8 | quint8(data[13]);
    if (division <= 0 || division & 0x8000) return -1;
    std::map<quint64, double> tempos{{0, 500000.0}}; // tick -> microseconds per quarter
    quint64 lastTick = 0;
    for (qsizetype at = 14; at + 8 <= data.size();) {
        const qsizetype end = at + 8 + u32(at + 4);
        if (!data.mid(at, 4).startsWith("MTrk") || end > data.size()) return -1;
        quint64 tick = 0;
        quint8 status = 0;
        for (qsizetype p = at + 8; p < end;) {
            quint32 delta = 0;
            do
                delta = delta << 7 | (quint8(data[p]) & 0x7F);
            while (quint8(data[p++]) & 0x80 && p < end);
            tick += delta;
            if (quint8(data[p]) & 0x80) status = quint8(data[p++]);
            if (status == 0xFF || status == 0xF0 || status == 0xF7) {
                const bool meta = status == 0xFF;
                const quint8 type = meta ? quint8(data[p++]) : 0;
                quint32 length = 0;
                do
                    length = length << 7 | (quint8(data[p]) & 0x7F);
                while (quint8(data[p++]) & 0x80);
                if (meta && type == 0x51 && length == 3)
                    tempos[tick] =
                        quint8(data[p]) << 16 | quint8(data[p + 1]) << 8 | quint8(data[p + 2]);
                p += length;
                status = 0; // meta and system events cancel the running status
            } else {
                const int kind = status >> 4;
                p += (kind == 0xC || kind == 0xD) ? 1 : 2;
            }
        }
        lastTick = std::max(lastTick, tick);
        at = end;
    }
    double seconds = 0;
    for (auto it = tempos.begin(); it != tempos.end() && it->first < lastTick; ++it) {
        const auto next = std::next(it);
        const quint64 until = next == tempos.end() ? lastTick : std::min(next->first, lastTick);
        seconds += double(until - it->first) / division * it->second / 1e6;
    }
    return seconds;
}

TEST(SoundFiles, EveryShippedSoundLoadsAndLastsAFewSeconds) {
    ASSERT_TRUE(audioDeviceOpen());
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    const int bytesPerSecond = frequency * channels * (SDL_AUDIO_BITSIZE(format) / 8);

    QStringList names{"about.wav"};
    for (const SoundEventList& list : defaultEventSounds())
        for (int i = 0; i < list.count; ++i)
            names << list.files[std::size_t(i)];
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 16);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = TSounds::soundFolder() + '/' + name;
        EXPECT_LT(QFileInfo(path).size(), 200 * 1024);
        Mix_Chunk* chunk = Mix_LoadWAV(QFile::encodeName(path).constData());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const double seconds = double(chunk->alen) / bytesPerSecond;
        EXPECT_GE(seconds, 0.2);
        EXPECT_LE(seconds, 4.0);
        Mix_FreeChunk(chunk);
    }
}

TEST(SoundFiles, EveryMusicPieceLoadsAndLastsTwentySecondsToThreeMinutes) {
    ASSERT_TRUE(audioDeviceOpen());
    const QDir folder(TSounds::musicFolder());
    const QStringList pieces = folder.entryList({"*.mid"}, QDir::Files);
    EXPECT_GE(pieces.size(), 3);
    EXPECT_TRUE(pieces.contains("ARCADIA.MID"));
    for (const QString& name : pieces) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const double seconds = midiSeconds(file.readAll());
        EXPECT_GE(seconds, 20.0);
        EXPECT_LE(seconds, 180.0);
        Mix_Music* music = Mix_LoadMUS(QFile::encodeName(file.fileName()).constData());
        ASSERT_NE(music, nullptr) << Mix_GetError();
        EXPECT_EQ(Mix_GetMusicType(music), MUS_MID);
        Mix_FreeMusic(music);
    }
}

TEST(SoundFiles, MidiLengthFollowsTheTempoMap) {
    // One track: 120 bpm for 960 ticks (two quarters, 1 s), then 60 bpm for 480 ticks (1 s).
    QByteArray track = QByteArray::fromHex("00FF5103"
                                           "07A120"
                                           "00903C40"
                                           "8740803C00"
                                           "00FF5103"
                                           "0F4240"
                                           "8360803C00"
                                           "00FF2F00");
    QByteArray file = QByteArray::fromHex("4D546864000000060000000101E0") + "MTrk";
    const quint32 n = quint32(track.size());
    file += char(n >> 24);
    file += char(n >> 16);
    file += char(n >> 8);
    file += char(n);
    file += track;
    EXPECT_DOUBLE_EQ(midiSeconds(file), 2.0);
    EXPECT_EQ(midiSeconds("RIFF...."), -1);
}

} // namespace
} // namespace velnora::ui
