// Placeholder entry point until the command-line front end is written.
int main() { return 2; }
