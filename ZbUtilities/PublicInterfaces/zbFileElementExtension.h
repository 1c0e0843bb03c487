#ifndef zbFileElementExtension_H
#define zbFileElementExtension_H
// Services built on file-element trees.  For now, looking through a node at
// what it stands for: the directory or the file itself, or what a resolved
// link points to.

class zbFileElement;

class zbFileElementExtension
{
  public:
    zbFileElementExtension() = delete;

    // The element when it is a directory; its target when it is a resolved
    // link to an existing directory; else null.
    static zbFileElement* GetDirectory(zbFileElement& iElement);
    // The element when it exists and is neither a directory nor a link; its
    // target when it is a resolved link to an existing non-directory; else
    // null.
    static zbFileElement* GetFile(zbFileElement& iElement);
};

#endif
