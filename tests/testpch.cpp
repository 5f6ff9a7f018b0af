// Compiles the header shared by a group of tests.
