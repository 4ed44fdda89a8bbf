#pragma once
// Runs a test block in a fixed time zone and restores the previous one.
#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

namespace setup::testing {

class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = getenv("TZ"))
            previous_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

}  // namespace setup::testing
