#include "engine/internal/encode_cache.h"

#include "engine/encoder_catalogue.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kEncodedClip = QStringLiteral("encoded.mp4");
const QString kEncodedFrame = QStringLiteral("encoded.png");

qint64 fileSize(const QString &path)
{
    return QFileInfo(path).size();
}

} // namespace

EncodeCache::EncodeCache(const WorkFolder &folder) : folder_(folder)
{}

QString EncodeCache::entryKey(const QString &clipKey, qint64 bitsPerSecond, const EncoderSetting &encoder)
{
    QString key = clipKey + QLatin1Char('|') + QString::number(bitsPerSecond);
    if (!encoder.isDefault()) {
        key += QLatin1Char('-') + EncoderCatalogue::cliName(encoder.encoder) + QLatin1Char('-')
            + (encoder.preset.isEmpty() ? QStringLiteral("default") : encoder.preset) + QLatin1Char('-')
            + QString::number(encoder.depth);
        if (encoder.hardware != HardwareApi::None)
            key += QLatin1Char('-') + EncoderCatalogue::apiName(encoder.hardware);
    }
    return key;
}

QString EncodeCache::clipKeyOf(const QString &entryKey)
{
    return entryKey.left(entryKey.lastIndexOf(QLatin1Char('|')));
}

const EncodeCache::Entry *EncodeCache::find(const QString &key)
{
    const auto found = entries_.find(key);
    if (found == entries_.end())
        return nullptr;
    if (!QFileInfo::exists(encodedClip(key)) || !QFileInfo::exists(encodedFrame(key))
        || !QFileInfo::exists(originalFrame(found->clipKey))) {
        remove(key);
        return nullptr;
    }
    found->lastUse = ++clock_;
    return &*found;
}

const EncodeCache::Entry *EncodeCache::entry(const QString &key) const
{
    const auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : &*found;
}

const ReferenceClip *EncodeCache::clip(const QString &clipKey) const
{
    const auto found = clips_.find(clipKey);
    return found == clips_.end() ? nullptr : &*found;
}

bool EncodeCache::holdsReference(const QString &clipKey) const
{
    return !referenceKey_.isEmpty() && referenceKey_ == clipKey && clips_.contains(clipKey)
        && QFileInfo::exists(folder_.file(ReferenceClip::clipFile())) && QFileInfo::exists(originalFrame(clipKey));
}

QString EncodeCache::startCut(const QString &clipKey)
{
    const QString previous = referenceKey_;
    referenceKey_.clear();
    if (!previous.isEmpty() && previous != clipKey)
        dropClipIfUnused(previous);
    if (!clipFolders_.contains(clipKey))
        clipFolders_.insert(clipKey, QStringLiteral("clip-%1").arg(nextFolder_++));
    QDir().mkpath(clipFolder(clipKey));
    return originalFrame(clipKey);
}

void EncodeCache::clipCut(const ReferenceClip &clip)
{
    clips_.insert(clip.key, clip);
    referenceKey_ = clip.key;
    trim(QString());
}

void EncodeCache::cutFailed(const QString &clipKey)
{
    dropClipIfUnused(clipKey);
}

QString EncodeCache::startEncode(const QString &key)
{
    remove(key);
    QDir().mkpath(entryFolder(key));
    return encodedClip(key);
}

QString EncodeCache::encodedClip(const QString &key) const
{
    return entryFolder(key) + QLatin1Char('/') + kEncodedClip;
}

QString EncodeCache::encodedFrame(const QString &key) const
{
    return entryFolder(key) + QLatin1Char('/') + kEncodedFrame;
}

QString EncodeCache::originalFrame(const QString &clipKey) const
{
    return clipFolder(clipKey) + QLatin1Char('/') + ReferenceClip::frameFile();
}

void EncodeCache::add(const QString &key, Entry entry)
{
    entry.bytes = fileSize(encodedClip(key)) + fileSize(encodedFrame(key));
    entry.lastUse = ++clock_;
    entries_.insert(key, std::move(entry));
    trim(key);
}

void EncodeCache::remove(const QString &key)
{
    const QString folder = entryFolder(key);
    if (!folder.isEmpty())
        WorkFolder::removeTree(folder);
    const auto found = entries_.find(key);
    if (found == entries_.end())
        return;
    const QString clipKey = found->clipKey;
    entries_.erase(found);
    dropClipIfUnused(clipKey);
}

void EncodeCache::setQuality(const QString &key, const QualityNumbers &quality)
{
    const auto found = entries_.find(key);
    if (found != entries_.end())
        found->quality = quality;
}

qint64 EncodeCache::bytes() const
{
    qint64 total = referenceKey_.isEmpty() ? 0 : fileSize(folder_.file(ReferenceClip::clipFile()));
    for (const QString &clipKey : clips_.keys())
        total += fileSize(originalFrame(clipKey));
    for (const Entry &entry : entries_)
        total += entry.bytes;
    return total;
}

QString EncodeCache::clipFolder(const QString &clipKey) const
{
    const QString name = clipFolders_.value(clipKey);
    return name.isEmpty() ? QString() : folder_.file(name);
}

QString EncodeCache::entryFolder(const QString &key) const
{
    const QString clip = clipFolder(clipKeyOf(key));
    return clip.isEmpty() ? QString() : clip + QLatin1Char('/') + key.mid(key.lastIndexOf(QLatin1Char('|')) + 1);
}

// A clip is kept while it has results or holds "reference.mkv" (or is being cut).
void EncodeCache::dropClipIfUnused(const QString &clipKey)
{
    if (clipKey == referenceKey_ || !clipFolders_.contains(clipKey))
        return;
    for (const Entry &entry : std::as_const(entries_))
        if (entry.clipKey == clipKey)
            return;
    WorkFolder::removeTree(clipFolder(clipKey));
    clips_.remove(clipKey);
    clipFolders_.remove(clipKey);
}

void EncodeCache::trim(const QString &kept)
{
    qint64 total = bytes();
    while (entries_.size() > maxResults || total > maxBytes) {
        QString oldest;
        quint64 oldestUse = 0;
        for (auto it = entries_.cbegin(); it != entries_.cend(); ++it)
            if (it.key() != kept && (oldest.isEmpty() || it->lastUse < oldestUse))
                oldest = it.key(), oldestUse = it->lastUse;
        if (oldest.isEmpty())
            return;
        remove(oldest);
        total = bytes();
    }
}
