#pragma once

// Start at login: registers or removes the program's autostart entry from
// the "loginStart" setting (AutostartLoginItem). Tests run with
// `NoLoginItem`, which writes no autostart entry.
class LoginItem
{
public:
    virtual ~LoginItem() = default;

    // Applies "loginStart" (creating the controller on first use).
    virtual void updateLogin() = 0;
};

class NoLoginItem final : public LoginItem
{
public:
    void updateLogin() override {}
};
