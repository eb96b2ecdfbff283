#include "model/user_settings.h"

#include "engine/comparison_limits.h"
#include "engine/encoder_catalogue.h"

#include <QDebug>
#include <QMetaEnum>
#include <QSettings>

#include <algorithm>

namespace {

const QString folderKey = QStringLiteral("fileDialog/lastFolder");
const QString filmsKey = QStringLiteral("recentFilms");
const QString sizeKey = QStringLiteral("window/size");
const QString maximizedKey = QStringLiteral("window/maximized");
const QString mbpsKey = QStringLiteral("comparison/mbps");
const QString heightKey = QStringLiteral("comparison/maxHeight");
const QString viewKey = QStringLiteral("comparison/view");
const QString encoderKey = QStringLiteral("comparison/encoder"); // "x265/slow/10"

constexpr int maxWindowSide = 100000;

// Says on standard error that the value stored under key is not used, and removes it.
void forget(QSettings &settings, const QString &key, const QVariant &value)
{
    QString shown;
    QDebug(&shown).noquote().nospace() << value;
    qWarning("bitglance: the remembered setting %s (%s) is not valid and is forgotten", qUtf8Printable(key),
             qUtf8Printable(shown));
    settings.remove(key);
}

QUrl fileUrl(const QVariant &value)
{
    const QUrl url = QUrl::fromEncoded(value.toString().toLatin1(), QUrl::StrictMode);
    return url.isValid() && url.isLocalFile() ? url : QUrl();
}

} // namespace

UserSettings::UserSettings()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("bitglance"),
                                            QStringLiteral("bitglance")))
{
    checkFile();
}

UserSettings::UserSettings(const QString &fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
    checkFile();
}

UserSettings::~UserSettings() = default;

void UserSettings::checkFile()
{
    if (settings_->status() != QSettings::FormatError)
        return;
    qWarning("bitglance: the settings in %s are damaged and are forgotten", qUtf8Printable(settings_->fileName()));
    settings_->clear();
}

void UserSettings::sync()
{
    settings_->sync();
}

QUrl UserSettings::lastFolder() const
{
    const QVariant value = settings_->value(folderKey);
    const QUrl folder = fileUrl(value);
    if (value.isValid() && folder.isEmpty())
        forget(*settings_, folderKey, value);
    return folder;
}

void UserSettings::setLastFolder(const QUrl &folder)
{
    if (folder.isLocalFile())
        settings_->setValue(folderKey, QString::fromLatin1(folder.toEncoded()));
}

QList<QUrl> UserSettings::recentFilms() const
{
    QList<QUrl> films;
    const QVariant value = settings_->value(filmsKey);
    const QStringList stored = value.toStringList();
    for (const QString &entry : stored) {
        const QUrl film = fileUrl(entry);
        if (film.isEmpty()) {
            // One entry not a file: the list as it stands goes, the films read so far stay.
            forget(*settings_, filmsKey, value);
            storeRecentFilms(films);
            return films;
        }
        if (!films.contains(film) && films.size() < recentFilmCount)
            films.append(film);
    }
    return films;
}

void UserSettings::storeRecentFilms(const QList<QUrl> &films) const
{
    QStringList stored;
    for (const QUrl &url : films.first(std::min<qsizetype>(films.size(), recentFilmCount)))
        stored.append(QString::fromLatin1(url.toEncoded()));
    settings_->setValue(filmsKey, stored);
}

void UserSettings::addRecentFilm(const QUrl &film)
{
    if (!film.isLocalFile())
        return;
    QList<QUrl> films = recentFilms();
    films.removeAll(film);
    films.prepend(film);
    storeRecentFilms(films);
}

void UserSettings::clearRecentFilms()
{
    settings_->remove(filmsKey);
}

std::optional<QSize> UserSettings::windowSize() const
{
    const QVariant value = settings_->value(sizeKey);
    if (!value.isValid())
        return std::nullopt;
    const QSize size = value.toSize();
    if (size.width() <= 0 || size.height() <= 0 || size.width() > maxWindowSide || size.height() > maxWindowSide) {
        forget(*settings_, sizeKey, value);
        return std::nullopt;
    }
    return size;
}

bool UserSettings::windowMaximized() const
{
    return settings_->value(maximizedKey).toString() == QLatin1String("true");
}

void UserSettings::setWindowSize(QSize size, bool maximized)
{
    settings_->setValue(sizeKey, size);
    settings_->setValue(maximizedKey, maximized);
}

std::optional<double> UserSettings::mbps() const
{
    const QVariant value = settings_->value(mbpsKey);
    bool ok = false;
    const double mbps = value.toDouble(&ok);
    if (ok && mbps >= ComparisonLimits::minMbps && mbps <= ComparisonLimits::maxMbps)
        return mbps;
    if (value.isValid())
        forget(*settings_, mbpsKey, value);
    return std::nullopt;
}

std::optional<qint64> UserSettings::maxHeight() const
{
    const QVariant value = settings_->value(heightKey);
    bool ok = false;
    const qint64 height = value.toLongLong(&ok);
    const auto &offered = ComparisonLimits::heightLimits;
    if (ok && std::find(offered.cbegin(), offered.cend(), height) != offered.cend())
        return height;
    if (value.isValid())
        forget(*settings_, heightKey, value);
    return std::nullopt;
}

std::optional<GlanceModel::ComparisonView> UserSettings::view() const
{
    const QVariant value = settings_->value(viewKey);
    bool ok = false;
    const int view =
        QMetaEnum::fromType<GlanceModel::ComparisonView>().keyToValue(value.toString().toLatin1().constData(), &ok);
    if (ok)
        return GlanceModel::ComparisonView(view);
    if (value.isValid())
        forget(*settings_, viewKey, value);
    return std::nullopt;
}

std::optional<EncoderSetting> UserSettings::encoder() const
{
    const QVariant value = settings_->value(encoderKey);
    const QStringList parts = value.toString().split(u'/');
    const auto encoder = EncoderCatalogue::encoderNamed(parts.value(0));
    if (parts.size() == 3 && encoder && EncoderCatalogue::softwareEncoders().contains(*encoder)
        && EncoderCatalogue::presets(*encoder).contains(parts[1])
        && EncoderCatalogue::depths(*encoder).contains(parts[2].toInt()))
        return EncoderSetting{*encoder, parts[1], parts[2].toInt()};
    if (value.isValid())
        forget(*settings_, encoderKey, value);
    return std::nullopt;
}

void UserSettings::setComparison(const GlanceModel &model)
{
    const EncoderSetting &encoder = model.encoder();
    if (encoder.hardware == HardwareApi::None)
        settings_->setValue(
            encoderKey,
            QStringList{EncoderCatalogue::cliName(encoder.encoder), encoder.preset, QString::number(encoder.depth)}
                .join(u'/'));
    settings_->setValue(mbpsKey, model.mbps());
    settings_->setValue(heightKey, model.maxHeight());
    settings_->setValue(
        viewKey, QString::fromLatin1(QMetaEnum::fromType<GlanceModel::ComparisonView>().valueToKey(int(model.view()))));
}
