#include "prepaid_ref.h"

#include "clock.h"

#include <chrono>
#include <cmath>
#include <mutex>

namespace {

double dateTimeSerial(const platform::LocalTime& t) {
    using namespace std::chrono;
    const sys_days day{year{t.year} / month{unsigned(t.month)} / std::chrono::day{unsigned(t.day)}};
    const sys_days epoch{year{1899} / December / std::chrono::day{30}};
    const double days = double((day - epoch).count());
    const double msOfDay = ((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + t.millisecond;
    return days + msOfDay / 86'400'000.0;
}

}  // namespace

QString GetPrepaidRef() {
    static std::mutex mutex;
    static long long last = 0;
    const long long now = std::llround(dateTimeSerial(platform::localNow()) * 1'000'000.0);
    std::lock_guard lock(mutex);
    last = now > last ? now : last + 1;
    return QString::number(last);
}
