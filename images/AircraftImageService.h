#pragma once

#include "AircraftCatalog.h"
#include "DecodedCache.h"
#include "ImageOriginGuard.h"
#include "Lifetime.h"
#include "SharedLoad.h"
#include "Transfer.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <chrono>
#include <coroutine>
#include <deque>
#include <functional>
#include <optional>

class QNetworkDiskCache;

// Lets at most a fixed number of requests to the member site run at once; the others wait their turn, first
// come first served. A slot is handed straight to the next waiter when it is given back.
class ConnectionSlots : public QObject
{
    Q_OBJECT

public:
    explicit ConnectionSlots(int limit, QObject *parent = nullptr);
    // Waiters still in line end with a CancellationError.
    ~ConnectionSlots() override;

    QCoro::Task<> acquire();
    void release();
    int busy() const { return m_busy; }
    int waiting() const { return int(m_waiting.size()); }

private:
    struct Turn
    {
        ConnectionSlots *pool;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> waiter) { pool->m_waiting.push_back(waiter); }
        void await_resume() const noexcept {}
    };

    int m_limit;
    int m_busy = 0;
    std::deque<std::coroutine_handle<>> m_waiting; // in line for a slot
    std::deque<std::coroutine_handle<>> m_granted; // given a slot, about to resume
    Lifetime m_lifetime;                           // last: ends first
};

// The one loader of the livery catalog and the livery pictures, static files of the member site fetched
// without the member's cookies. Three layers of reuse: the HTTP disk cache, the memory cache of decoded
// pictures, and one shared load per picture or catalog that is still running. Main thread only; lives for
// the whole process, across sign-in and account switches.
class AircraftImageService : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    struct Options
    {
        QUrl origin;                             // the member site
        TrustedCertificates trustedCertificates; // extra roots for its TLS (the sample service's)
        QString cacheFolder;                     // the HTTP disk cache; none when empty
        Clock clock;                             // now; the system clock when empty
        // Turns picture bytes into the bitmap, off the main thread; decodePicture when empty.
        std::function<QImage(const QByteArray &, int)> decode;
        std::chrono::milliseconds idleTimeout{20'000};
        std::chrono::milliseconds totalTimeout{30'000};
    };

    static constexpr int smallestPixel = 160;
    static constexpr int largestPixel = 3000;
    static constexpr qint64 pictureLimit = 8 * 1024 * 1024;
    static constexpr qint64 jsonLimit = 4 * 1024 * 1024;
    static constexpr qint64 diskCacheSize = 64 * 1024 * 1024;
    static constexpr qsizetype decodedCostLimit = 24 * 1024 * 1024;
    static constexpr qsizetype decodedCountLimit = 80;
    static constexpr int connectionsPerHost = 4;
    static constexpr std::chrono::seconds catalogLifetime{3600};

    explicit AircraftImageService(Options options, QObject *parent = nullptr);
    ~AircraftImageService() override;

    // The process-wide instance, for pictures nobody was handed a service for: the one main/ made with
    // defaultOptions() and installed (Installed.h), or a test's own.
    static AircraftImageService &shared();
    // The member site (or its override), the disk cache in the user's Caches folder "VORNAAircraftImages".
    static Options defaultOptions();

    // The livery catalog, fetched at most once per hour (counted from the start of the fetch).
    QCoro::Task<AircraftCatalog> catalog();
    // The picture of a reference, its longer side at most the clamped maxPixel, transparent margins cut.
    QCoro::Task<QImage> image(AircraftPhotoReference reference, int maxPixel);
    // Empties every cache and abandons every load: their waiters end with a CancellationError.
    void clearCache();
    quint64 cacheEpoch() const { return m_cacheEpoch; }

    // maxPixel clamped to 160...3000, and the memory cache's key "path@N" for it.
    static int clampedMaxPixel(int maxPixel);
    static QString cacheKey(const QString &path, int clampedMaxPixel);
    // Decodes picture bytes to a bitmap at most maxPixel on its longer side, in the proportions it decodes
    // to (orientation applied), then trims it. A null image when the bytes are no picture. Safe off the main
    // thread.
    static QImage decodePicture(const QByteArray &bytes, int maxPixel);
    // Cuts the fully transparent margins, keeping a small margin around what is visible.
    static QImage trimmingTransparentEdges(const QImage &picture);
    // The one failure of the service that is not the transport's: "飞机图片暂时无法加载，请稍后重试。".
    static APIError unavailable();

    const DecodedCache &decodedCache() const { return m_decoded; }

private:
    QCoro::Task<QByteArray> read(QString path, bool image, quint64 epoch);
    QCoro::Task<AircraftCatalog> fetchCatalog(quint64 epoch);
    QCoro::Task<QImage> loadPicture(QString path, int maxPixel, QString key, quint64 epoch);
    QDateTime now() const;

    Options m_options;
    ImageOriginGuard m_guard;
    Transfers m_transfers;
    QNetworkDiskCache *m_diskCache = nullptr;
    ConnectionSlots *m_slots;
    DecodedCache m_decoded{decodedCostLimit, decodedCountLimit};
    std::optional<SharedLoad<AircraftCatalog>> m_catalogTask;
    std::optional<QDateTime> m_catalogAt;
    quint64 m_cacheEpoch = 0;
    QHash<QString, SharedLoad<QImage>> m_inflight;
    Lifetime m_lifetime; // last: ends first
};
