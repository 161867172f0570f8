/* Lets libfaketime move the clock of 32-bit programs built with a 64-bit
 * time_t, such as Debian's 32-bit Wine: they read the time through glibc's
 * __clock_gettime64, which libfaketime 0.9.10 does not catch.  Preloaded after
 * libfaketime, this one passes the call on to libfaketime's clock_gettime.
 * Built for i386 without any library or header, so that the host compiler
 * makes it with no 32-bit development packages. */
struct timespec32 {
    long tv_sec;
    long tv_nsec;
};

struct timespec64 {
    long long tv_sec;
    long long tv_nsec;
};

int clock_gettime(int clock, struct timespec32* time);
int __clock_gettime64(int clock, struct timespec64* time);

int __clock_gettime64(int clock, struct timespec64* time) {
    struct timespec32 narrow;
    const int result = clock_gettime(clock, &narrow);
    if (result == 0) {
        time->tv_sec = narrow.tv_sec;
        time->tv_nsec = narrow.tv_nsec;
    }
    return result;
}
