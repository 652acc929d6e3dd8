#pragma once

// Poly > Try to Make Faces Regular: relaxes the current model, from its own shape, towards regular
// faces with equal edges. On success the relaxed model replaces it as one undo step ("Create Spring
// Model"); otherwise "Could not make faces regular." and nothing changes. A 4D model is refused.
bool MakeFacesRegular();

// Whether the command can run on the current model.
bool CanMakeFacesRegular();
