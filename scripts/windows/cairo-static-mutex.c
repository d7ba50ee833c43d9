
/* Added by the Windows build of Rido Kladdorix: a static cairo never runs
 * its DllMain, where the Windows build initialises these locks, and the
 * first FreeType font face would otherwise lock one that was never set up. */
#if CAIRO_WIN32_STATIC_BUILD
static void __attribute__((constructor))
_rk_cairo_static_mutex_init (void)
{
    CAIRO_MUTEX_INITIALIZE ();
}
#endif
