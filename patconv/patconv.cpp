// patconv: rewrites a pattern file into its Boston-Mess form.
int main() { return 0; }
