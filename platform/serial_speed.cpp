// Exact line speeds outside the classic Bnnnn table (14400 and the like). The kernel's termios2
// interface carries any rate (BOTHER); its header cannot share a unit with <termios.h>.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace platform {

bool setExactLineSpeed(int fd, long baud) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0) return false;
    tio.c_cflag &= ~CBAUD;
    tio.c_cflag |= BOTHER;
    tio.c_cflag &= ~(CBAUD << IBSHIFT);
    tio.c_cflag |= BOTHER << IBSHIFT;
    tio.c_ispeed = speed_t(baud);
    tio.c_ospeed = speed_t(baud);
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace platform
