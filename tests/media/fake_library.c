/* A library that loads but exports none of the entry points. */
int velqua_fake_library_marker(void) { return 0; }
