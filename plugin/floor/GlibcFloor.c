/* What the portable plug-in uses that glibc did not have at the floor it is built for (see
   scripts/glibc-floor-header), defined here with what that glibc did have. Hidden, like all of
   the plug-in: only references inside it bind to these. */
#include <sys/stat.h>

#define HIDDEN __attribute__((visibility("hidden")))

/* glibc 2.33 made stat and its kin functions of their own; before, the headers turned them into
   calls of __xstat and its kin, with the version of struct stat (1 on x86-64) as first argument. */
enum { kStatVersion = 1 };
int __xstat(int version, const char* path, struct stat* status);
int __lxstat(int version, const char* path, struct stat* status);
int __fxstat(int version, int fd, struct stat* status);
int __fxstatat(int version, int folder, const char* path, struct stat* status, int flags);

HIDDEN int stat(const char* path, struct stat* status) {
    return __xstat(kStatVersion, path, status);
}

HIDDEN int lstat(const char* path, struct stat* status) {
    return __lxstat(kStatVersion, path, status);
}

HIDDEN int fstat(int fd, struct stat* status) {
    return __fxstat(kStatVersion, fd, status);
}

HIDDEN int fstatat(int folder, const char* path, struct stat* status, int flags) {
    return __fxstatat(kStatVersion, folder, path, status, flags);
}

/* glibc 2.32's flag for the C++ runtime (inlined into every file using shared_ptr, and into the
   runtime linked in) to skip atomic operations in a process that has one thread: never so here,
   as Maya runs many. */
HIDDEN char __libc_single_threaded = 0;
