// Threads and mutexes of the socket layer: thin wrappers over POSIX threads.

#include <pthread.h>

#include <new>

#include "net/socket_layer.h"

struct NLmutexRecord {
  pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
};

bool nlThreadCreate(NLThreadFunction function, void* data, bool joinable, NLthreadID* thread) {
  if (function == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, joinable ? PTHREAD_CREATE_JOINABLE : PTHREAD_CREATE_DETACHED);
  NLthreadID started{};
  const int result = pthread_create(&started, &attributes, function, data);
  pthread_attr_destroy(&attributes);
  if (result != 0) {
    nlSetError(NL_SYSTEM_ERROR);
    return false;
  }
  if (thread != nullptr) *thread = started;
  return true;
}

bool nlThreadJoin(NLthreadID thread, void** result) {
  if (pthread_join(thread, result) != 0) {
    nlSetError(NL_SYSTEM_ERROR);
    return false;
  }
  return true;
}

bool nlMutexInit(NLmutex* mutex) {
  if (mutex == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  *mutex = new NLmutexRecord;
  return true;
}

bool nlMutexLock(NLmutex* mutex) {
  if (mutex == nullptr || *mutex == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  return pthread_mutex_lock(&(*mutex)->mutex) == 0;
}

bool nlMutexUnlock(NLmutex* mutex) {
  if (mutex == nullptr || *mutex == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  return pthread_mutex_unlock(&(*mutex)->mutex) == 0;
}

bool nlMutexDestroy(NLmutex* mutex) {
  if (mutex == nullptr || *mutex == nullptr) {
    nlSetError(NL_NULL_POINTER);
    return false;
  }
  pthread_mutex_destroy(&(*mutex)->mutex);
  delete *mutex;
  *mutex = nullptr;
  return true;
}
