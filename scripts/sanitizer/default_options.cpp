// The sanitizers' settings, built into every program of a sanitizer build, so that a test, a
// program it starts (fiskon, tillora-db, a day-close process) and one started by hand all stop
// at the first finding and read the same suppression files, whatever their working folder.
// ASAN_OPTIONS, LSAN_OPTIONS and UBSAN_OPTIONS in the environment still add to these.

extern "C" {

const char* __asan_default_options()
{
    return "halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:"
           "strict_init_order=1:check_initialization_order=1";
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
