// The sanitizers' settings, built into every program of a sanitizer build, so that a test, a
// program it starts (fiskon, tillora-db, a day-close process) and one started by hand all stop
// at the first finding and read the same suppression files, whatever their working folder.
// ASAN_OPTIONS, LSAN_OPTIONS and UBSAN_OPTIONS in the environment still add to these.

extern "C" {

const char* __asan_default_options()
{
    // intercept_tls_get_addr=0: this runtime (GCC 12's) keeps its own record of each thread's
    // dynamically loaded TLS blocks, and reads some of them wrong (a block 16 bytes into a page
    // is taken for an old glibc layout: seen as a block "at 0x48e" 160 GiB long in a program
    // that loaded the Firebird engine). The leak check then scans that range and crashes
    // ("Tracer caught signal 11"). Without the record those blocks are not scanned for pointers.
    return "halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:"
           "strict_init_order=1:check_initialization_order=1:intercept_tls_get_addr=0";
}

const char* __lsan_default_options()
{
    return "suppressions=" TILLORA_SANITIZER_DIR "/leaks.supp:print_suppressions=0";
}

const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1:suppressions=" TILLORA_SANITIZER_DIR "/undefined.supp";
}

}
