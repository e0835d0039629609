// quillmere_picture: a maintainers' tool beside the program.
int main() { return 2; }
