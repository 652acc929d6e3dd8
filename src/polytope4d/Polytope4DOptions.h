#pragma once

// Global options of the 4D code that other subsystems read.

// "Auto-Generate Polychora from Vertex Figure Files" (on at start): model files whose names begin
// "verf-of-" then hold vertex figures of generated polychora, and their display names drop that prefix.
bool GetAutoGeneratePolychora();
void SetAutoGeneratePolychora(bool on);
