// zorvik.exe: the chat-room game host on Windows.
int main() { return 0; }
