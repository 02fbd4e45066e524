// kovex: converts a siteswap into a pattern file.
int main() { return 0; }
