// Force-included after the glibc floor header into the portable plug-in's C++ files (see
// cmake/PortableFfmpeg.cmake). The C++ library's headers were configured for the build machine's
// glibc: where it has pthread_cond_clockwait and its kin (glibc 2.30), a wait for a steady-clock
// time calls them. Without them, as on glibc 2.28, the headers wait for the system-clock time
// the steady-clock time comes to and look at the steady clock again on waking.
#pragma once
#include <bits/c++config.h>
#undef _GLIBCXX_USE_PTHREAD_COND_CLOCKWAIT
#undef _GLIBCXX_USE_PTHREAD_MUTEX_CLOCKLOCK
#undef _GLIBCXX_USE_PTHREAD_RWLOCK_CLOCKLOCK
