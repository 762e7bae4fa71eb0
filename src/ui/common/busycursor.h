#pragma once

// Shows the hourglass for the lifetime of the object and restores the cursor shown before.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;

    // Restores the cursor early (before a message box, for example); the destructor then does nothing.
    void Restore();

private:
    bool FActive = true;
};
