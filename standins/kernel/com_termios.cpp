#include "com_termios.h"

#include <cstddef>

namespace zelkernel {
namespace {

struct BaudRate {
    DWORD rate;
    speed_t speed;
};

constexpr BaudRate kBaudRates[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},     {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B921600
    {921600, B921600},
#endif
};

bool SpeedFor(DWORD rate, speed_t& speed) {
    for (const BaudRate& entry : kBaudRates) {
        if (entry.rate == rate) {
            speed = entry.speed;
            return true;
        }
    }
    return false;
}

DWORD RateFor(speed_t speed) {
    for (const BaudRate& entry : kBaudRates) {
        if (entry.speed == speed) return entry.rate;
    }
    return 0;
}

BYTE DataBitsOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

BYTE ParityOf(tcflag_t cflag) {
    if ((cflag & PARENB) == 0) return NOPARITY;
    const bool odd = (cflag & PARODD) != 0;
    if ((cflag & CMSPAR) != 0) return odd ? MARKPARITY : SPACEPARITY;
    return odd ? ODDPARITY : EVENPARITY;
}

void SetFlag(tcflag_t& flags, tcflag_t flag, bool on) {
    if (on) {
        flags |= flag;
    } else {
        flags &= ~flag;
    }
}

}  // namespace

void MakeRaw(termios& settings) {
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
}

void DcbFromTermios(const termios& settings, const DCB& remembered, DCB& dcb) {
    dcb = remembered;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = RateFor(cfgetospeed(&settings));
    dcb.fBinary = 1;
    dcb.ByteSize = DataBitsOf(settings.c_cflag);
    dcb.Parity = ParityOf(settings.c_cflag);
    if ((settings.c_cflag & CSTOPB) == 0) {
        dcb.StopBits = ONESTOPBIT;
    } else {
        dcb.StopBits = remembered.StopBits == ONE5STOPBITS ? ONE5STOPBITS : TWOSTOPBITS;
    }
    dcb.fParity = (settings.c_iflag & INPCK) != 0 ? 1 : 0;
    dcb.fOutX = (settings.c_iflag & IXON) != 0 ? 1 : 0;
    dcb.fInX = (settings.c_iflag & IXOFF) != 0 ? 1 : 0;
    dcb.XonChar = static_cast<char>(settings.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(settings.c_cc[VSTOP]);
    if ((settings.c_cflag & CRTSCTS) != 0) {
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    } else {
        dcb.fOutxCtsFlow = 0;
        if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) dcb.fRtsControl = RTS_CONTROL_ENABLE;
    }
}

bool TermiosFromDcb(const DCB& dcb, termios& settings) {
    speed_t speed = B0;
    if (!SpeedFor(dcb.BaudRate, speed)) return false;
    if (dcb.ByteSize < 5 || dcb.ByteSize > 8) return false;
    if (dcb.Parity > SPACEPARITY || dcb.StopBits > TWOSTOPBITS) return false;
    if (dcb.StopBits == ONE5STOPBITS && dcb.ByteSize != 5) return false;
    if (dcb.StopBits == TWOSTOPBITS && dcb.ByteSize == 5) return false;

    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    tcflag_t& cflag = settings.c_cflag;
    cflag &= ~static_cast<tcflag_t>(CSIZE);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    cflag |= kSizes[dcb.ByteSize - 5];
    SetFlag(cflag, PARENB, dcb.Parity != NOPARITY);
    SetFlag(cflag, PARODD, dcb.Parity == ODDPARITY || dcb.Parity == MARKPARITY);
    SetFlag(cflag, CMSPAR, dcb.Parity == MARKPARITY || dcb.Parity == SPACEPARITY);
    // A UART sends 1.5 stop bits for 5 data bits where it is told 2.
    SetFlag(cflag, CSTOPB, dcb.StopBits != ONESTOPBIT);
    SetFlag(cflag, CRTSCTS, dcb.fOutxCtsFlow != 0 || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE);
    cflag |= CLOCAL | CREAD;

    SetFlag(settings.c_iflag, INPCK, dcb.fParity != 0 && dcb.Parity != NOPARITY);
    SetFlag(settings.c_iflag, IXON, dcb.fOutX != 0);
    SetFlag(settings.c_iflag, IXOFF, dcb.fInX != 0);
    settings.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    settings.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    return true;
}

void WithoutParity(termios& settings) {
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    settings.c_cflag |= CS8;
    settings.c_iflag &= ~static_cast<tcflag_t>(INPCK);
}

}  // namespace zelkernel
