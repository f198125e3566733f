#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <vector>

// One message between views and controllers that do not know each other:
// a name, the object that sent it (often empty) and string-keyed details.
struct Notification
{
    QString name;
    QVariant object;
    QVariantMap userInfo;
};

// The program's notification centre: parts post named notifications and
// whoever observes that name is called, synchronously, in the order the
// observers were added.
//
// Every observer belongs to a context object and goes away with it, so a
// destroyed window can never be called back. Observers added while a
// notification is being delivered are called from the next one on; observers
// removed during delivery are not called any more, not even for the
// notification in progress.
//
// Main thread only: it holds no lock, and observers run on the thread that
// posts. Background work hands its results to the main thread first.
class NotificationCenter : public QObject
{
    Q_OBJECT

public:
    using ObserverId = quint64; // 0 is never an observer

    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    explicit NotificationCenter(QObject* parent = nullptr);
    ~NotificationCenter() override;

    // An empty name observes every notification. Answers 0 and adds nothing
    // without a context or a handler.
    ObserverId addObserver(const QString& name, QObject* context, Handler handler);

    void removeObserver(ObserverId id);
    // Every observer that belongs to `context`.
    void removeObserver(QObject* context);

    void postNotification(const QString& name, const QVariant& object = {}, const QVariantMap& userInfo = {});

    int observerCount() const { return static_cast<int>(observers.size()); }

private:
    struct Observer
    {
        ObserverId id;
        QString name;
        QObject* context;
        std::shared_ptr<const Handler> handler;
    };

    void watch(QObject* context);
    void forgetContextIfUnused(QObject* context);

    std::vector<Observer> observers;
    QHash<QObject*, QMetaObject::Connection> watchedContexts;
    ObserverId lastId = 0;
};
