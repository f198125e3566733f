#include "settings/NotificationCenter.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Each observer appends its label, so a test sees who was called in which order.
struct Recorder
{
    QStringList calls;
    NotificationCenter::Handler as(const QString& label)
    {
        return [this, label](const Notification&) { calls << label; };
    }
};

} // namespace

TEST(NotificationCenter, DeliversToMatchingObserversInRegistrationOrder)
{
    NotificationCenter center;
    QObject context;
    Recorder recorder;
    Notification received;
    center.addObserver("imageDropped", &context, recorder.as("first"));
    center.addObserver("sliderChanged", &context, recorder.as("other name"));
    center.addObserver("", &context, recorder.as("every name"));
    center.addObserver("imageDropped", &context, [&](const Notification& n) {
        received = n;
        recorder.calls << "last";
    });

    center.postNotification("imageDropped", QStringLiteral("sender"), { { "tab", "Updates" } });
    EXPECT_EQ(recorder.calls, QStringList({ "first", "every name", "last" }));
    EXPECT_EQ(received.name, "imageDropped");
    EXPECT_EQ(received.object, QVariant(QStringLiteral("sender")));
    EXPECT_EQ(received.userInfo.value("tab"), QVariant("Updates"));
}

TEST(NotificationCenter, ObserversGoByIdByContextAndWithTheirContext)
{
    NotificationCenter center;
    Recorder recorder;
    QObject keeper;
    auto window = std::make_unique<QObject>();
    auto panel = std::make_unique<QObject>();
    const auto byId = center.addObserver("n", &keeper, recorder.as("by id"));
    center.addObserver("n", &keeper, recorder.as("keeper"));
    center.addObserver("n", window.get(), recorder.as("window"));
    center.addObserver("n", window.get(), recorder.as("window again"));
    center.addObserver("n", panel.get(), recorder.as("panel"));
    EXPECT_EQ(center.addObserver("n", nullptr, recorder.as("no context")), 0u);

    center.removeObserver(byId);
    center.removeObserver(window.get());
    panel.reset();
    center.postNotification("n");
    EXPECT_EQ(recorder.calls, QStringList({ "keeper" }));
    EXPECT_EQ(center.observerCount(), 1);
    center.removeObserver(byId); // already gone: nothing happens
}

TEST(NotificationCenter, ChangesDuringDeliveryAreSafe)
{
    NotificationCenter center;
    Recorder recorder;
    QObject context;
    auto doomed = std::make_unique<QObject>();
    NotificationCenter::ObserverId self = 0, later = 0;

    self = center.addObserver("n", &context, [&](const Notification&) {
        recorder.calls << "removes itself";
        center.removeObserver(self);
    });
    center.addObserver("n", &context, [&](const Notification&) {
        recorder.calls << "changes the others";
        center.removeObserver(later);
        doomed.reset();
        center.addObserver("n", &context, recorder.as("added during delivery"));
    });
    later = center.addObserver("n", &context, recorder.as("removed before its turn"));
    center.addObserver("n", doomed.get(), recorder.as("context destroyed before its turn"));
    center.addObserver("n", &context, recorder.as("untouched"));

    center.postNotification("n");
    EXPECT_EQ(recorder.calls, QStringList({ "removes itself", "changes the others", "untouched" }));

    recorder.calls.clear();
    center.postNotification("n");
    EXPECT_EQ(recorder.calls.first(), "changes the others");
    EXPECT_TRUE(recorder.calls.contains("added during delivery"));
    EXPECT_FALSE(recorder.calls.contains("removes itself"));
}
