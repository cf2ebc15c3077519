#include "AircraftImageService.h"

#include "ImagesLog.h"
#include "Installed.h"
#include "Json.h"
#include "L.h"
#include "ServiceHosts.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkDiskCache>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoro/QCoroFuture>

#include <variant>

#include <algorithm>
#include <cmath>

namespace {

// Pictures and the catalog never carry the member's cookies, and never keep any the site sends.
class NoCookies : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};

// Hands a connection slot back on every way out of a request.
class SlotLease
{
public:
    // Not "slots": that is one of Qt's keywords and expands to nothing.
    explicit SlotLease(ConnectionSlots *pool)
        : m_slots(pool)
    {
    }
    SlotLease(const SlotLease &) = delete;
    SlotLease &operator=(const SlotLease &) = delete;
    ~SlotLease()
    {
        if (m_slots)
            m_slots->release();
    }

private:
    QPointer<ConnectionSlots> m_slots;
};

// A picture's size with its longer side at most maxPixel, neither side below one pixel.
QSize fitted(QSize size, int maxPixel)
{
    const int longer = std::max(size.width(), size.height());
    if (longer <= maxPixel)
        return size;
    const double scale = double(maxPixel) / longer;
    return QSize(std::max(1, int(std::lround(size.width() * scale))),
                 std::max(1, int(std::lround(size.height() * scale))));
}

} // namespace

ConnectionSlots::ConnectionSlots(int limit, QObject *parent)
    : QObject(parent)
    , m_limit(limit)
{
}

ConnectionSlots::~ConnectionSlots()
{
    m_lifetime.end();
    // Every coroutine still waiting resumes now, sees the pool gone and ends.
    std::deque<std::coroutine_handle<>> pending = std::exchange(m_granted, {});
    pending.insert(pending.end(), m_waiting.begin(), m_waiting.end());
    m_waiting.clear();
    for (const std::coroutine_handle<> waiter : pending)
        waiter.resume();
}

QCoro::Task<> ConnectionSlots::acquire()
{
    if (m_busy < m_limit) {
        ++m_busy;
        co_return;
    }
    const Lifetime::Guard lifetime = m_lifetime.guard();
    co_await Turn{this};
    // The slot was handed over by release(), already counted.
    lifetime.check();
}

void ConnectionSlots::release()
{
    if (m_waiting.empty()) {
        --m_busy;
        return;
    }
    // The next in line resumes from the event loop, not inside whoever gave the slot back.
    m_granted.push_back(m_waiting.front());
    m_waiting.pop_front();
    QTimer::singleShot(0, this, [this] {
        if (m_granted.empty())
            return;
        const std::coroutine_handle<> waiter = m_granted.front();
        m_granted.pop_front();
        waiter.resume();
    });
}

AircraftImageService::AircraftImageService(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_guard(m_options.origin)
    , m_transfers(this, m_options.trustedCertificates)
    , m_slots(new ConnectionSlots(connectionsPerHost, this))
{
    QNetworkAccessManager &manager = m_transfers.manager();
    manager.setCookieJar(new NoCookies(&manager));
    if (!m_options.cacheFolder.isEmpty()) {
        m_diskCache = new QNetworkDiskCache(&manager);
        m_diskCache->setCacheDirectory(m_options.cacheFolder);
        m_diskCache->setMaximumCacheSize(diskCacheSize);
        manager.setCache(m_diskCache);
    }
}

AircraftImageService::~AircraftImageService()
{
    // Coroutines resumed when m_transfers aborts its replies must see that we are gone.
    m_lifetime.end();
}

AircraftImageService::Options AircraftImageService::defaultOptions()
{
    const ServiceHosts::MemberEndpoint &endpoint = ServiceHosts::memberEndpoint();
    Options options;
    options.origin = endpoint.origin;
    options.trustedCertificates = endpoint.trustedCertificates;
    const QString caches = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!caches.isEmpty())
        options.cacheFolder = QDir(caches).filePath(QStringLiteral("VORNAAircraftImages"));
    return options;
}

AircraftImageService &AircraftImageService::shared() { return Installed<AircraftImageService>::current(); }

QDateTime AircraftImageService::now() const
{
    return m_options.clock ? m_options.clock() : QDateTime::currentDateTimeUtc();
}

APIError AircraftImageService::unavailable()
{
    return APIError(503, L("飞机图片暂时无法加载，请稍后重试。"));
}

int AircraftImageService::clampedMaxPixel(int requested)
{
    return std::clamp(requested, smallestPixel, largestPixel);
}

QString AircraftImageService::cacheKey(const QString &path, int clamped)
{
    return path + QLatin1Char('@') + QString::number(clamped);
}

QCoro::Task<AircraftCatalog> AircraftImageService::catalog()
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    if (m_catalogTask && m_catalogAt && m_catalogAt->secsTo(now()) < catalogLifetime.count()) {
        const SharedLoad<AircraftCatalog> running = *m_catalogTask;
        AircraftCatalog shared = co_await running.wait();
        co_return shared;
    }

    const quint64 epoch = m_cacheEpoch;
    const SharedLoad<AircraftCatalog> load = SharedLoad<AircraftCatalog>::start(fetchCatalog(epoch));
    m_catalogTask = load;
    m_catalogAt = now();
    std::optional<AircraftCatalog> fetched;
    std::exception_ptr error;
    try {
        fetched.emplace(co_await load.wait());
    } catch (...) {
        error = std::current_exception();
    }
    if (error) {
        qCInfo(lcImages, "the livery catalog failed to load");
        // A failed fetch is not kept: the next call tries again. A newer generation's fetch stays.
        if (lifetime.alive() && m_cacheEpoch == epoch && m_catalogTask && m_catalogTask->sameAs(load)) {
            m_catalogTask.reset();
            m_catalogAt.reset();
        }
        std::rethrow_exception(error);
    }
    AircraftCatalog result = std::move(*fetched);
    co_return result;
}

QCoro::Task<AircraftCatalog> AircraftImageService::fetchCatalog(quint64 epoch)
{
    const QByteArray bytes = co_await read(QLatin1String(AircraftPhotoReference::catalogPath), false, epoch);
    // Reading and indexing a catalog near its size limit takes most of a second: not on the main thread.
    // The worker hands back the failure's text rather than the exception, which Qt would wrap.
    const auto decode = [](const QByteArray &bytes) -> std::variant<AircraftCatalog, QString> {
        try {
            return AircraftCatalog::decode(bytes);
        } catch (const DecodeError &error) {
            return QString::fromUtf8(error.what());
        }
    };
    std::variant<AircraftCatalog, QString> decoded = co_await QtConcurrent::run(decode, bytes);
    if (const QString *failure = std::get_if<QString>(&decoded))
        throw DecodeError(*failure);
    co_return std::get<AircraftCatalog>(std::move(decoded));
}

QCoro::Task<QImage> AircraftImageService::image(AircraftPhotoReference reference, int maxPixel)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const int clamped = clampedMaxPixel(maxPixel);
    const QString key = cacheKey(reference.path, clamped);
    if (const std::optional<QImage> hit = m_decoded.find(key)) {
        QImage picture = *hit;
        co_return picture;
    }
    if (const auto running = m_inflight.constFind(key); running != m_inflight.constEnd()) {
        const SharedLoad<QImage> load = *running;
        QImage picture = co_await load.wait();
        co_return picture;
    }

    const quint64 epoch = m_cacheEpoch;
    const SharedLoad<QImage> load =
        SharedLoad<QImage>::start(loadPicture(reference.path, clamped, key, epoch));
    m_inflight.insert(key, load);
    std::optional<QImage> picture;
    std::exception_ptr error;
    try {
        picture.emplace(co_await load.wait());
    } catch (...) {
        error = std::current_exception();
    }
    // A load from before a clearCache leaves the newer generation's entry alone.
    if (lifetime.alive() && m_cacheEpoch == epoch)
        m_inflight.remove(key);
    if (error)
        std::rethrow_exception(error);
    QImage result = std::move(*picture);
    co_return result;
}

QCoro::Task<QImage> AircraftImageService::loadPicture(QString path, int maxPixel, QString key, quint64 epoch)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const QByteArray bytes = co_await read(path, true, epoch);
    lifetime.check();
    // Decoding a large picture takes longer than a frame: it runs on the thread pool.
    const std::function<QImage(const QByteArray &, int)> decode =
        m_options.decode ? m_options.decode : &AircraftImageService::decodePicture;
    const QImage picture = co_await QtConcurrent::run(decode, bytes, maxPixel);
    lifetime.check();
    if (picture.isNull())
        throw unavailable();
    // A load abandoned by clearCache must not refill the cache that was just emptied.
    if (m_cacheEpoch != epoch)
        throw CancellationError();
    m_decoded.insert(key, picture);
    co_return picture;
}

QCoro::Task<QByteArray> AircraftImageService::read(QString path, bool image, quint64 epoch)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    if (!AircraftPhotoReference::isPublicAssetPath(path))
        throw unavailable();
    QUrl url = m_guard.origin();
    url.setPath(path, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.host() != m_guard.origin().host())
        throw unavailable();

    co_await m_slots->acquire();
    lifetime.check();
    const SlotLease lease(m_slots);
    // Abandoned while it waited for a connection.
    if (m_cacheEpoch != epoch)
        throw CancellationError();

    HTTPRequest request{QNetworkRequest(url)};
    request.request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    request.request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, true);
    request.request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.request.setRawHeader("Accept", image ? "image/webp,image/*" : "application/json");
    TransferRules rules{.maxBytes = image ? pictureLimit : jsonLimit,
                        .tooLarge = unavailable(),
                        .idleTimeout = m_options.idleTimeout,
                        .totalTimeout = m_options.totalTimeout,
                        .maxRedirects = 8,
                        .follows = [guard = m_guard](const QUrl &next) { return guard.allows(next); }};
    const HTTPAnswer answer = co_await m_transfers.run(std::move(request), std::move(rules));
    lifetime.check();
    // A redirect the guard refused ends here too.
    if (answer.status != 200)
        throw unavailable();
    if (answer.mimeType.isEmpty() || !answer.mimeType.startsWith(image ? "image/" : "application/json"))
        throw unavailable();
    co_return answer.body;
}

void AircraftImageService::clearCache()
{
    ++m_cacheEpoch;
    if (m_catalogTask)
        m_catalogTask->abandon();
    const QHash<QString, SharedLoad<QImage>> inflight = std::exchange(m_inflight, {});
    for (const SharedLoad<QImage> &load : inflight)
        load.abandon();
    m_transfers.cancel();
    m_decoded.clear();
    if (m_diskCache)
        m_diskCache->clear();
    m_catalogTask.reset();
    m_catalogAt.reset();
}

QImage AircraftImageService::decodePicture(const QByteArray &bytes, int maxPixel)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    // Only a reader that scales as it decodes is asked for the smaller size (a JPEG then decodes fewer
    // pixels). Qt stretches any other's picture to that size, and the size a header states may not be the
    // one it decodes to: a GIF states its frame and decodes its screen, an icon states its directory entry.
    if (size.isValid() && fitted(size, maxPixel) != size
        && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(fitted(size, maxPixel));
    QImage decoded = reader.read();
    if (decoded.isNull())
        return {};
    // Scaled as it was decoded, in its own proportions.
    if (fitted(decoded.size(), maxPixel) != decoded.size())
        decoded =
            decoded.scaled(fitted(decoded.size(), maxPixel), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return trimmingTransparentEdges(decoded);
}

QImage AircraftImageService::trimmingTransparentEdges(const QImage &picture)
{
    if (picture.isNull() || !picture.hasAlphaChannel())
        return picture;
    const QImage bitmap = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull() || bitmap.height() == 0)
        return picture;

    // Alpha 8 or less counts as transparent: anti-aliasing and export noise leave such specks.
    constexpr int visibleAlpha = 9;
    const int width = bitmap.width();
    const int height = bitmap.height();
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(bitmap.constScanLine(y));
        int first = -1;
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) >= visibleAlpha) {
                first = x;
                break;
            }
        }
        if (first < 0)
            continue;
        int last = first;
        for (int x = width - 1; x > first; --x) {
            if (qAlpha(row[x]) >= visibleAlpha) {
                last = x;
                break;
            }
        }
        left = std::min(left, first);
        right = std::max(right, last);
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return picture;

    const int span = bottom - top;
    const int margin = span > 79 ? span / 40 : 2;
    const int x0 = std::max(left - margin, 0);
    const int x1 = std::min(right + margin + 1, width);
    const int y0 = std::max(top - margin, 0);
    const int y1 = std::min(bottom + margin + 1, height);
    const QImage cropped = bitmap.copy(x0, y0, x1 - x0, y1 - y0);
    return cropped.isNull() ? picture : cropped;
}
