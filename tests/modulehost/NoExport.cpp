extern "C" int NotAModule() { return 0; }
