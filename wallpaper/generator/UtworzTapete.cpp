// The wallpaper page generator lives here.
