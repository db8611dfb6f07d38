/* What the portable plug-in uses that glibc did not have at the floor it is built for (see
   scripts/glibc-floor-header), defined here with what that glibc did have. Hidden, like all of
   the plug-in: only references inside it bind to these, among them those of the C++ runtime
   linked in, which was compiled for the build machine's glibc without the floor header. This
   file is compiled without that header too, since it defines names the header binds. */
#define _LARGEFILE64_SOURCE
#include <pthread.h>
#include <sys/stat.h>

#define HIDDEN __attribute__((visibility("hidden")))

/* glibc 2.33 made stat and its kin functions of their own; before, the headers turned them into
   calls of __xstat and its kin, with the version of struct stat (1 on x86-64) as first argument.
   Code built with 64-bit file offsets (FFmpeg) calls the *64 names, whose struct is the same on
   x86-64. */
enum { kStatVersion = 1 };
int __xstat(int version, const char* path, struct stat* status);
int __lxstat(int version, const char* path, struct stat* status);
int __fxstat(int version, int fd, struct stat* status);

HIDDEN int stat(const char* path, struct stat* status) {
    return __xstat(kStatVersion, path, status);
}

HIDDEN int lstat(const char* path, struct stat* status) {
    return __lxstat(kStatVersion, path, status);
}

HIDDEN int fstat(int fd, struct stat* status) {
    return __fxstat(kStatVersion, fd, status);
}

HIDDEN int stat64(const char* path, struct stat64* status) {
    return __xstat(kStatVersion, path, (struct stat*)status);
}

HIDDEN int lstat64(const char* path, struct stat64* status) {
    return __lxstat(kStatVersion, path, (struct stat*)status);
}

HIDDEN int fstat64(int fd, struct stat64* status) {
    return __fxstat(kStatVersion, fd, (struct stat*)status);
}

/* glibc 2.34 moved the threads functions into libc under a new version; the C++ runtime calls
   these four (std::thread, std::call_once, and whether threads run at all), which every glibc
   has had at version 2.2.5. */
int oldPthreadCreate(pthread_t* thread, const pthread_attr_t* attributes, void* (*run)(void*),
                     void* argument);
int oldPthreadJoin(pthread_t thread, void** result);
int oldPthreadOnce(pthread_once_t* once, void (*run)(void));
int oldPthreadKeyCreate(pthread_key_t* key, void (*destroy)(void*));
__asm__(".symver oldPthreadCreate,pthread_create@GLIBC_2.2.5");
__asm__(".symver oldPthreadJoin,pthread_join@GLIBC_2.2.5");
__asm__(".symver oldPthreadOnce,pthread_once@GLIBC_2.2.5");
__asm__(".symver oldPthreadKeyCreate,__pthread_key_create@GLIBC_2.2.5");

HIDDEN int pthread_create(pthread_t* thread, const pthread_attr_t* attributes,
                          void* (*run)(void*), void* argument) {
    return oldPthreadCreate(thread, attributes, run, argument);
}

HIDDEN int pthread_join(pthread_t thread, void** result) {
    return oldPthreadJoin(thread, result);
}

HIDDEN int pthread_once(pthread_once_t* once, void (*run)(void)) {
    return oldPthreadOnce(once, run);
}

HIDDEN int __pthread_key_create(pthread_key_t* key, void (*destroy)(void*)) {
    return oldPthreadKeyCreate(key, destroy);
}

/* glibc 2.32's flag for the C++ runtime (inlined into every file using shared_ptr, and into the
   runtime linked in) to skip atomic operations in a process that has one thread: never so here,
   as Maya runs many. */
HIDDEN char __libc_single_threaded = 0;
