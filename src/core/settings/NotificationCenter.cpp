#include "NotificationCenter.h"

#include "Log.h"


#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::NotificationCenter(QObject* parent)
    : QObject(parent)
{
}

NotificationCenter::~NotificationCenter()
{
    for (const auto& connection : std::as_const(watchedContexts))
        disconnect(connection);
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const QString& name, QObject* context, Handler handler)
{
    if (!context || !handler) {
        qCWarning(lcSettings, "observer of \"%s\" ignored: it needs a context and a handler", qPrintable(name));
        return 0;
    }
    watch(context);
    const ObserverId id = ++lastId;
    observers.push_back({ id, name, context, std::make_shared<const Handler>(std::move(handler)) });
    return id;
}

void NotificationCenter::watch(QObject* context)
{
    if (watchedContexts.contains(context))
        return;
    // `destroyed` comes from ~QObject, when the context is no longer usable:
    // only its address is compared here.
    watchedContexts.insert(context, connect(context, &QObject::destroyed, this, [this, context] {
        watchedContexts.remove(context);
        std::erase_if(observers, [context](const Observer& o) { return o.context == context; });
    }));
}

void NotificationCenter::forgetContextIfUnused(QObject* context)
{
    const bool used = std::any_of(observers.cbegin(), observers.cend(),
                                  [context](const Observer& o) { return o.context == context; });
    if (!used)
        disconnect(watchedContexts.take(context));
}

void NotificationCenter::removeObserver(ObserverId id)
{
    const auto it = std::find_if(observers.begin(), observers.end(), [id](const Observer& o) { return o.id == id; });
    if (it == observers.end())
        return;
    QObject* context = it->context;
    observers.erase(it);
    forgetContextIfUnused(context);
}

void NotificationCenter::removeObserver(QObject* context)
{
    if (!context)
        return;
    std::erase_if(observers, [context](const Observer& o) { return o.context == context; });
    forgetContextIfUnused(context);
}

void NotificationCenter::postNotification(const QString& name, const QVariant& object, const QVariantMap& userInfo)
{
    const Notification notification { name, object, userInfo };

    // Handlers may add or remove observers, or destroy contexts, while this
    // runs: deliver to the observers registered now, and check before each
    // call that the observer is still there. The snapshot also keeps a
    // handler alive while it runs, should it remove itself.
    struct Pending
    {
        ObserverId id;
        std::shared_ptr<const Handler> handler;
    };
    std::vector<Pending> pending;
    for (const Observer& o : observers) {
        if (o.name.isEmpty() || o.name == name)
            pending.push_back({ o.id, o.handler });
    }

    for (const Pending& p : pending) {
        const bool stillObserving = std::any_of(observers.cbegin(), observers.cend(),
                                                [&p](const Observer& o) { return o.id == p.id; });
        if (stillObserving)
            (*p.handler)(notification);
    }
}
