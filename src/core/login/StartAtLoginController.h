#pragma once

#include <QString>

// Start at login on a Linux desktop: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/com.quillfen.Huelark.desktop, whose Exec runs
// the login helper installed beside the program; the helper then starts
// Huelark hidden.
//
// The entry carries a mark of its own, so that Huelark only ever replaces or
// removes the entry it wrote: one the user made under the same name (to start
// Huelark their way, or to switch it off with Hidden=true) is left alone.
class StartAtLoginController
{
public:
    // The helper's file name, looked for beside the program.
    static constexpr auto helperName = "huelark-login-helper";

    // `helperPath` is where the helper should be (see installedHelper).
    explicit StartAtLoginController(const QString& helperPath);

    // `identifier` := the helper's name and `url` := its path when the helper
    // is there and executable; both empty otherwise.
    void setBundle(const QString& helperPath);
    QString identifier() const { return helperIdentifier; }
    QString url() const { return helperUrl; }

    // Writes (atomically) or removes the autostart entry. Returns why it
    // failed, in a sentence for the user; empty when done.
    [[nodiscard]] QString setStartAtLogin(bool flag);
    // An entry of Huelark's own is in place.
    bool startAtLogin() const;

    static QString entryPath();
    // Where the helper is for a program in `programFolder`: the install
    // tree's libexec/huelark, or else the build tree's src/helper when that
    // has one.
    static QString installedHelper(const QString& programFolder);
    // The entry's text for a helper at `helperPath`.
    static QByteArray entryContents(const QString& helperPath);

private:
    QString expectedPath;
    QString helperIdentifier;
    QString helperUrl;
};
